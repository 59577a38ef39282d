#include "ReplayRunner.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

long long ReplayState::operator[](const std::string& name) const
{
    auto it = numbers.find(name);
    EXPECT_NE(it, numbers.end()) << "no field " << name;
    return it == numbers.end() ? -999999 : it->second;
}

std::string TempPath(const std::string& name)
{
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string prefix = info ? std::string(info->test_suite_name()) + "." + info->name() : "replay";
    return "tmp-" + prefix + "-" + std::to_string(getpid()) + "-" + name;
}

namespace {

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

ReplayOutput RunReplay(const std::string& script, const std::string& options)
{
    const std::string scriptPath = TempPath("script.txt");
    const std::string outPath = TempPath("out.txt");
    const std::string errPath = TempPath("err.txt");
    {
        std::ofstream s(scriptPath, std::ios::binary);
        s << script;
    }
    std::string command = std::string(VORBLOX_REPLAY) + " " + options + " " + scriptPath + " >" + outPath + " 2>" +
                          errPath;
    int status = std::system(command.c_str());
    ReplayOutput output;
    output.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    output.out = ReadAll(outPath);
    output.err = ReadAll(errPath);
    std::remove(scriptPath.c_str());
    std::remove(outPath.c_str());
    std::remove(errPath.c_str());
    std::istringstream lines(output.out);
    std::string line;
    while (std::getline(lines, line)) {
        ReplayState state;
        if (ParseReplayState(line, &state)) output.states.push_back(state);
    }
    return output;
}

// The runner prints flat objects of numbers, one boolean and one array of
// strings; this reads exactly that shape.
bool ParseReplayState(const std::string& line, ReplayState* state)
{
    size_t i = 0;
    auto expect = [&](char c) {
        if (i < line.size() && line[i] == c) {
            ++i;
            return true;
        }
        return false;
    };
    if (!expect('{')) return false;
    while (i < line.size() && line[i] != '}') {
        if (!expect('"')) return false;
        size_t end = line.find('"', i);
        if (end == std::string::npos) return false;
        std::string key = line.substr(i, end - i);
        i = end + 1;
        if (!expect(':')) return false;
        if (key == "rows") {
            if (!expect('[')) return false;
            while (!expect(']')) {
                expect(',');
                if (!expect('"')) return false;
                size_t close = line.find('"', i);
                if (close == std::string::npos) return false;
                state->rows.push_back(line.substr(i, close - i));
                i = close + 1;
            }
        } else if (line.compare(i, 4, "true") == 0 || line.compare(i, 5, "false") == 0) {
            bool value = line[i] == 't';
            i += value ? 4 : 5;
            if (key == "quit") state->quit = value;
        } else {
            size_t used = 0;
            long long value = std::stoll(line.substr(i), &used);
            i += used;
            state->numbers[key] = value;
        }
        expect(',');
    }
    return expect('}') && state->rows.size() == 23;
}
