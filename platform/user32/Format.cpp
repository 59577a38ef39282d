// wsprintfA: printf's formatting for the conversions Windows' version has,
// with Windows' sizes (a long is 32 bits) and its 1024-character limit.
#include "Core.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

const size_t kLimit = 1024;  // characters, the terminating zero included

std::string FormatOne(const std::string& spec, char type, bool wide, va_list& args)
{
    char piece[kLimit + 64];
    std::string f = spec;
    switch (type) {
    case 'd':
    case 'i':
        f += 'd';
        std::snprintf(piece, sizeof piece, f.c_str(), (int)va_arg(args, int32_t));
        break;
    case 'u':
    case 'x':
    case 'X':
        f += type;
        std::snprintf(piece, sizeof piece, f.c_str(), (unsigned)va_arg(args, uint32_t));
        break;
    case 'c':
        f += 'c';
        std::snprintf(piece, sizeof piece, f.c_str(), (int)(unsigned char)va_arg(args, int));
        break;
    case 's': {
        const char* s = va_arg(args, const char*);
        f += 's';
        std::snprintf(piece, sizeof piece, f.c_str(), s ? s : "(null)");
        break;
    }
    case 'p':
        f += 'X';
        std::snprintf(piece, sizeof piece, f.c_str(), (unsigned)(uintptr_t)va_arg(args, void*));
        break;
    default: return std::string();
    }
    (void)wide;
    return piece;
}

}  // namespace

int WINAPIV wsprintfA(LPSTR buffer, LPCSTR format, ...)
{
    if (!buffer || !format) return 0;
    va_list args;
    va_start(args, format);
    std::string out;
    for (const char* p = format; *p && out.size() < kLimit; ++p) {
        if (*p != '%') {
            out += *p;
            continue;
        }
        ++p;
        if (*p == '%') {
            out += '%';
            continue;
        }
        std::string spec = "%";
        while (*p && std::strchr("-#0 +", *p)) spec += *p++;
        if (*p == '*') {
            spec += std::to_string(va_arg(args, int));
            ++p;
        } else {
            while (*p >= '0' && *p <= '9') spec += *p++;
        }
        if (*p == '.') {
            spec += *p++;
            while (*p >= '0' && *p <= '9') spec += *p++;
        }
        bool wide = false;
        if (*p == 'l' || *p == 'h') wide = *p++ == 'l';
        if (!*p) break;
        out += FormatOne(spec, *p, wide, args);
    }
    va_end(args);
    if (out.size() > kLimit - 1) out.resize(kLimit - 1);
    std::memcpy(buffer, out.c_str(), out.size() + 1);
    return (int)out.size();
}
