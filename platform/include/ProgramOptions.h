// The command-line manners the Linux programs share (the game and the
// replay runner): --help and -h, --version, "--opt=value" and "--opt value"
// alike, "--" before operands that start with a dash, and "-" as an
// operand. Every mistake gets one clear message on stderr and the caller
// exits 2; help and version go to stdout, and a failure to write them is
// reported (exit 1).
#ifndef VORBLOX_PLATFORM_PROGRAM_OPTIONS_H
#define VORBLOX_PLATFORM_PROGRAM_OPTIONS_H

#include <stdint.h>

#include <functional>
#include <string>
#include <vector>

namespace plat {

struct ProgramOption {
    const char* name;   // "--scale"
    const char* value;  // what it takes, for the help ("N"); null: it takes nothing
    const char* wants;  // the same in words, for a missing value ("a whole number from 1 to 4")
    const char* help;   // one or more lines; later lines are indented to match
    // Checks and keeps the value (null for an option that takes none).
    // False with *problem, a whole sentence after "PROGRAM: ".
    std::function<bool(const char* value, std::string* problem)> apply;
};

struct ProgramInfo {
    const char* program;   // the name in messages, unless argv[0] has one
    const char* version;
    const char* operands;  // for the usage line: "SCRIPT", or "" for none
    int minOperands;
    int maxOperands;
    const char* about;     // the help's text after the usage line
    const char* epilogue;  // the help's text after the options; may be null
};

enum class ParseResult {
    Run,       // go on with the options and operands
    Done,      // help or version written; exit 0
    BadUsage,  // a message went to stderr; exit 2
    Failed     // help or version could not be written (said so); exit 1
};

// Reads argv against `options`; the operands (arguments that are not
// options) land in *operands in order.
ParseResult ParseProgramOptions(const ProgramInfo& info, const std::vector<ProgramOption>& options, int argc,
                                char** argv, std::vector<const char*>* operands);

// The program name messages start with (argv[0]'s last part once parsed).
const char* ProgramName();

// Prints "PROGRAM: message" on stderr.
void Complain(const std::string& message);

// A whole number written plainly: decimal digits only, no sign, blank or
// leading zero, from `min` to `max`.
bool ParseWholeNumber(const char* text, uint64_t min, uint64_t max, uint64_t* number);

// `text` in single quotes for a message, with control characters, bytes
// that are not UTF-8 and a quote or backslash inside shown as escapes
// (\t, \n, \x1b, \'), so that what was typed or read can be seen.
std::string Quoted(const std::string& text);

// Whether a file can be written at `path` without writing it: an existing
// file must be writable, a new one's folder must exist and be writable. False
// with *error ("cannot write PATH: reason").
bool CanWriteFile(const char* path, std::string* error);

// Flushes stdout; on a write error says so ("cannot write the output: ...")
// and answers false, also when the standard output was closed at start.
bool FlushStandardOutput(const char* what);

// Called first thing: opens /dev/null on whichever of the standard input,
// output and error is closed, so that no file or connection the program
// opens later takes its number and gets what was meant for it.
void KeepStandardStreams();
// Whether descriptor 0, 1 or 2 was closed when the program started.
bool StandardStreamClosed(int fd);

// The path a chain of symbolic links at `path` ends at (`path` itself when
// it is no link); the last one may name a file not there yet.
std::string FollowLinks(const std::string& path);

// Writes `bytes` to a new file beside `path` (its links followed) and puts
// it in place in one step, so that a write that fails (a full disk) leaves
// what was there, and no part-written file.
bool ReplaceFile(const char* path, const std::string& bytes, std::string* error);

}  // namespace plat

#endif
