#include <ProgramOptions.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace plat {
namespace {

std::string program = "vorblox";
unsigned closedStreams = 0;  // bit n: descriptor n was closed at start

// The help's left column: "  --scale N" padded to this width.
const size_t helpColumn = 20;

void PrintHelp(const ProgramInfo& info, const std::vector<ProgramOption>& options)
{
    std::printf("Usage: %s [OPTION]...%s%s\n%s\n\nOptions:\n", program.c_str(), *info.operands ? " " : "",
                info.operands, info.about);
    auto row = [](const std::string& left, const char* help) {
        std::printf("  %-*s", (int)helpColumn - 2, left.c_str());
        if (left.size() + 2 >= helpColumn) std::printf("\n%*s", (int)helpColumn, "");
        for (const char* c = help; *c; ++c) {
            std::putchar(*c);
            if (*c == '\n') std::printf("%*s", (int)helpColumn, "");
        }
        std::putchar('\n');
    };
    for (const ProgramOption& option : options)
        row(std::string(option.name) + (option.value ? std::string(" ") + option.value : ""), option.help);
    row("-h, --help", "print this help and exit");
    row("--version", "print the version and exit");
    if (info.epilogue) std::printf("\n%s\n", info.epilogue);
}

ParseResult Usage(const std::string& problem)
{
    Complain(problem);
    std::fprintf(stderr, "Try '%s --help' for more information.\n", program.c_str());
    return ParseResult::BadUsage;
}

// Appends the code point of a valid UTF-8 sequence at `s` (of `left`
// bytes) to *out as it is, or an escape for the invisible ones; answers
// its length, 0 when the bytes there are not UTF-8.
size_t Utf8Sequence(const unsigned char* s, size_t left, std::string* out)
{
    size_t length = s[0] >= 0xF0 ? 4 : s[0] >= 0xE0 ? 3 : 2;
    if (s[0] < 0xC2 || s[0] > 0xF4 || left < length) return 0;
    uint32_t code = s[0] & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        if ((s[i] & 0xC0) != 0x80) return 0;
        code = code << 6 | (s[i] & 0x3F);
    }
    const uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    // C1 controls, the byte-order mark and the line and paragraph
    // separators show nothing, or move the text about.
    if (code <= 0x9F || code == 0xFEFF || code == 0x2028 || code == 0x2029) {
        char escape[12];
        std::snprintf(escape, sizeof escape, "\\u%04X", (unsigned)code);
        *out += escape;
    } else {
        out->append(reinterpret_cast<const char*>(s), length);
    }
    return length;
}

}  // namespace

const char* ProgramName() { return program.c_str(); }

void Complain(const std::string& message) { std::fprintf(stderr, "%s: %s\n", program.c_str(), message.c_str()); }

ParseResult ParseProgramOptions(const ProgramInfo& info, const std::vector<ProgramOption>& options, int argc,
                                char** argv, std::vector<const char*>* operands)
{
    program = info.program;
    if (argc > 0 && argv[0] && *argv[0]) {
        const char* slash = std::strrchr(argv[0], '/');
        program = slash ? slash + 1 : argv[0];
    }
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (optionsEnded || arg[0] != '-' || !std::strcmp(arg, "-")) {
            operands->push_back(arg);
            continue;
        }
        if (!std::strcmp(arg, "--")) {
            optionsEnded = true;
            continue;
        }
        const char* equals = std::strncmp(arg, "--", 2) == 0 ? std::strchr(arg, '=') : nullptr;
        std::string name = equals ? std::string(arg, equals) : std::string(arg);
        if (name == "--help" || name == "-h" || name == "--version") {
            if (equals) return Usage(name + " takes no value");
            if (name == "--version")
                std::printf("%s %s\n", program.c_str(), info.version);
            else
                PrintHelp(info, options);
            return FlushStandardOutput(name == "--version" ? "the version" : "the help") ? ParseResult::Done
                                                                                          : ParseResult::Failed;
        }
        const ProgramOption* found = nullptr;
        for (const ProgramOption& option : options)
            if (name == option.name) found = &option;
        if (!found) return Usage("unknown option " + Quoted(name));
        if (!found->value) {
            if (equals) return Usage(name + " takes no value");
            found->apply(nullptr, nullptr);
            continue;
        }
        const char* value = equals ? equals + 1 : i + 1 < argc ? argv[++i] : nullptr;
        if (!value) return Usage(name + " needs " + found->wants);
        std::string problem;
        if (!found->apply(value, &problem)) return Usage(problem);
    }
    if ((int)operands->size() > info.maxOperands) {
        if (info.maxOperands == 0) return Usage("unexpected argument " + Quoted((*operands)[0]));
        std::string given;
        for (size_t i = 0; i < operands->size(); ++i) given += (i ? " and " : "") + Quoted((*operands)[i]);
        return Usage(std::string("one ") + info.operands + " only, not " + given);
    }
    if ((int)operands->size() < info.minOperands)
        return Usage(std::string("no ") + info.operands + " given (a file, or - for standard input)");
    return ParseResult::Run;
}

bool ParseWholeNumber(const char* text, uint64_t min, uint64_t max, uint64_t* number)
{
    if (!*text || (text[0] == '0' && text[1])) return false;
    uint64_t value = 0;
    for (const char* c = text; *c; ++c) {
        if (*c < '0' || *c > '9') return false;
        unsigned digit = (unsigned)(*c - '0');
        if (digit > max || value > (max - digit) / 10) return false;
        value = value * 10 + digit;
    }
    if (value < min) return false;
    *number = value;
    return true;
}

std::string Quoted(const std::string& text)
{
    std::string out = "'";
    const unsigned char* s = reinterpret_cast<const unsigned char*>(text.data());
    for (size_t i = 0; i < text.size();) {
        unsigned char c = s[i];
        if (c >= 0x80) {
            size_t length = Utf8Sequence(s + i, text.size() - i, &out);
            if (length) {
                i += length;
                continue;
            }
        }
        char escape[8] = "";
        if (c == '\t') std::strcpy(escape, "\\t");
        else if (c == '\n') std::strcpy(escape, "\\n");
        else if (c == '\r') std::strcpy(escape, "\\r");
        else if (c == '\'' || c == '\\') escape[0] = '\\', escape[1] = (char)c, escape[2] = 0;
        else if (c < 0x20 || c >= 0x7F) std::snprintf(escape, sizeof escape, "\\x%02x", c);
        if (*escape) out += escape;
        else out += (char)c;
        ++i;
    }
    return out + "'";
}

bool CanWriteFile(const char* given, std::string* error)
{
    int problem = 0;
    struct stat info;
    // A link that leads nowhere yet is written through, as the shell's > does.
    const std::string followed = FollowLinks(given);
    const char* path = followed.c_str();
    if (!*given) {
        problem = ENOENT;
    } else if (stat(path, &info) == 0) {
        if (S_ISDIR(info.st_mode)) problem = EISDIR;
        else if (access(path, W_OK) != 0) problem = errno;
    } else if (errno != ENOENT) {
        problem = errno;
    } else {
        const char* slash = std::strrchr(path, '/');
        std::string folder = !slash ? "." : slash == path ? "/" : std::string(path, slash);
        if (stat(folder.c_str(), &info) != 0) problem = errno;
        else if (!S_ISDIR(info.st_mode)) problem = ENOTDIR;
        else if (access(folder.c_str(), W_OK | X_OK) != 0) problem = errno;
    }
    if (!problem) return true;
    *error = "cannot write " + Quoted(given) + ": " + std::strerror(problem);
    return false;
}

bool FlushStandardOutput(const char* what)
{
    if (StandardStreamClosed(STDOUT_FILENO)) {
        Complain(std::string("cannot write ") + what + ": the standard output is closed");
        return false;
    }
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return true;
    int problem = errno;
    Complain(std::string("cannot write ") + what + ": " + std::strerror(problem));
    return false;
}

void KeepStandardStreams()
{
    for (int fd = 0; fd <= 2; ++fd) {
        if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        closedStreams |= 1u << fd;
        // The lowest free number is this one, the lower ones being open.
        int null = open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
        if (null >= 0 && null != fd) {
            dup2(null, fd);
            close(null);
        }
    }
}

bool StandardStreamClosed(int fd) { return fd >= 0 && fd <= 2 && (closedStreams & (1u << fd)); }

std::string FollowLinks(const std::string& path)
{
    std::string at = path;
    // As many as the system itself follows before it calls it a loop.
    for (int hops = 0; hops < 40; ++hops) {
        char target[4096];
        ssize_t n = readlink(at.c_str(), target, sizeof target - 1);
        if (n <= 0) return at;
        target[n] = 0;
        size_t slash = at.rfind('/');
        at = target[0] == '/' || slash == std::string::npos ? std::string(target) : at.substr(0, slash + 1) + target;
    }
    return at;
}

bool ReplaceFile(const char* given, const std::string& bytes, std::string* error)
{
    const std::string path = FollowLinks(given);
    struct stat there;
    if (stat(path.c_str(), &there) == 0 && !S_ISREG(there.st_mode)) {
        // A device or a named pipe is written where it is: renaming a new
        // file over it would take it away for every other program.
        int fd = open(path.c_str(), O_WRONLY | O_CLOEXEC);
        int problem = fd < 0 ? errno : 0;
        for (size_t done = 0; fd >= 0 && done < bytes.size() && !problem;) {
            ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
            if (n > 0) done += (size_t)n;
            else if (n == 0) problem = ENOSPC;
            else if (errno != EINTR) problem = errno;
        }
        if (fd >= 0 && close(fd) != 0 && !problem) problem = errno;
        if (problem) *error = std::string(given) + ": " + std::strerror(problem);
        return !problem;
    }
    size_t slash = path.rfind('/');
    std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    std::string temp = folder + "." + path.substr(folder.size()) + ".XXXXXX";
    int fd = mkstemp(&temp[0]);
    if (fd < 0) {
        *error = "cannot write " + Quoted(given) + ": " + std::strerror(errno);
        return false;
    }
    // The mode a new file gets (mkstemp's is the owner's alone), or the
    // one of the file it replaces.
    struct stat info;
    mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0666 & ~mask);
    int problem = 0;
    for (size_t done = 0; done < bytes.size() && !problem;) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n > 0) done += (size_t)n;
        else if (n == 0) problem = ENOSPC;
        else if (errno != EINTR) problem = errno;
    }
    if (close(fd) != 0 && !problem) problem = errno;
    if (!problem && rename(temp.c_str(), path.c_str()) != 0) problem = errno;
    if (problem) {
        unlink(temp.c_str());
        *error = "cannot write " + Quoted(given) + ": " + std::strerror(problem);
        return false;
    }
    return true;
}

}  // namespace plat
