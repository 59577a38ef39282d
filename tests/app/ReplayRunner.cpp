#include "ReplayRunner.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>

namespace {

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The runner prints flat objects of numbers, one boolean and the rows.
ReplayState ParseState(const std::string& line)
{
    static const std::regex number("\"(\\w+)\":(-?\\d+)"), row("\"([0-7]{10})\"");
    ReplayState state;
    for (std::sregex_iterator m(line.begin(), line.end(), number), end; m != end; ++m)
        state.numbers[(*m)[1]] = std::stoll((*m)[2]);
    for (std::sregex_iterator m(line.begin(), line.end(), row), end; m != end; ++m) state.rows.push_back((*m)[1]);
    state.quit = line.find("\"quit\":true") != std::string::npos;
    return state;
}

}  // namespace

ReplayOutput RunCommand(const std::string& commandLine)
{
    const std::string base = "tmp-run-" + std::to_string(getpid());
    int status = std::system((commandLine + " >" + base + ".out 2>" + base + ".err").c_str());
    ReplayOutput output;
    output.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    output.out = ReadAll(base + ".out");
    output.err = ReadAll(base + ".err");
    for (const char* ext : {".out", ".err"}) std::remove((base + ext).c_str());
    std::istringstream lines(output.out);
    for (std::string line; std::getline(lines, line);) {
        ReplayState state = ParseState(line);
        if (state.rows.size() == 23) output.states.push_back(state);
    }
    return output;
}

ReplayOutput RunReplay(const std::string& script, const std::string& options)
{
    const std::string path = "tmp-replay-" + std::to_string(getpid()) + ".script";
    {
        std::ofstream s(path, std::ios::binary);
        s << script;
    }
    ReplayOutput output = RunCommand(std::string(VORBLOX_REPLAY) + " " + options + " " + path);
    std::remove(path.c_str());
    return output;
}
