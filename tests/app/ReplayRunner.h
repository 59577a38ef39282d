// Runs the vorblox-replay program on a script and reads what it printed.
#ifndef VORBLOX_TESTS_APP_REPLAY_RUNNER_H
#define VORBLOX_TESTS_APP_REPLAY_RUNNER_H

#include <map>
#include <string>
#include <vector>

// One printed state: the numeric fields by name, `quit`, and the 23 rows.
struct ReplayState {
    std::map<std::string, long long> numbers;
    bool quit = false;
    std::vector<std::string> rows;

    long long operator[](const std::string& name) const { return numbers.at(name); }
};

struct ReplayOutput {
    int exitCode = -1;
    std::string out;  // standard output
    std::string err;  // standard error
    std::vector<ReplayState> states;  // one per printed line
    const ReplayState& Final() const { return states.back(); }
};

// `options` go before the script, e.g. "--trace".
ReplayOutput RunReplay(const std::string& script, const std::string& options = "");

// Runs a shell command line, capturing what it prints.
ReplayOutput RunCommand(const std::string& commandLine);

#endif
