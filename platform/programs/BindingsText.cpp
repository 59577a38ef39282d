// The bindings file: reading it, refusing what is wrong with it (by line),
// and writing the table back in the same form.
#include "Bindings.h"
#include "ScanCodes.h"

#include <KeyBindings.h>
#include <ProgramOptions.h>

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

namespace plat {
namespace {

// A bindings file is a few lines; anything much longer is not one.
const size_t longestText = 64 * 1024;
const size_t mostHeldTogether = 4;

const char* const stickNames[] = {"left-stick-left", "left-stick-right", "left-stick-up", "left-stick-down",
                                  "right-stick-left", "right-stick-right", "right-stick-up", "right-stick-down"};

std::string Lower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = (char)(c - 'A' + 'a');
    return text;
}

std::string Trimmed(const std::string& text)
{
    size_t start = text.find_first_not_of(" \t");
    if (start == std::string::npos) return "";
    return text.substr(start, text.find_last_not_of(" \t") - start + 1);
}

std::string PadControlName(int control)
{
    if (control < padAxisBase)
        return SDL_GameControllerGetStringForButton(static_cast<SDL_GameControllerButton>(control));
    int axisWay = control - padAxisBase;
    if (axisWay < 8) return stickNames[axisWay];
    return axisWay / 2 == SDL_CONTROLLER_AXIS_TRIGGERLEFT ? "left-trigger" : "right-trigger";
}

bool PadControlFromName(const std::string& name, int* control)
{
    for (int button = 0; button < SDL_CONTROLLER_BUTTON_MAX; ++button)
        if (name == PadControlName(button)) return *control = button, true;
    for (int axisWay = 0; axisWay < 8; ++axisWay)
        if (name == stickNames[axisWay]) return *control = padAxisBase + axisWay, true;
    if (name == "left-trigger") return *control = PadAxisControl(SDL_CONTROLLER_AXIS_TRIGGERLEFT, true), true;
    if (name == "right-trigger") return *control = PadAxisControl(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, true), true;
    return false;
}

// The keys whose SDL names would read as the separator.
const struct {
    const char* name;
    SDL_Scancode key;
} keyAliases[] = {{"Comma", SDL_SCANCODE_COMMA}, {"Keypad Comma", SDL_SCANCODE_KP_COMMA}};

std::string KeyName(SDL_Scancode key)
{
    for (const auto& alias : keyAliases)
        if (alias.key == key) return alias.name;
    return SDL_GetScancodeName(key);
}

bool KeyFromName(const std::string& name, SDL_Scancode* key)
{
    for (const auto& alias : keyAliases)
        if (Lower(name) == Lower(alias.name)) return *key = alias.key, true;
    // SDL answers the first of two keys with one name (Return); the one
    // answered is the one DirectInput has, and the only one it reads.
    SDL_Scancode found = name.empty() ? SDL_SCANCODE_UNKNOWN : SDL_GetScancodeFromName(name.c_str());
    if (found == SDL_SCANCODE_UNKNOWN || !ScancodeKey(found)) return false;
    *key = found;
    return true;
}

std::string InputName(const Binding& b)
{
    if (b.pad.empty()) return KeyName(b.key);
    std::string name = "pad:";
    for (size_t i = 0; i < b.pad.size(); ++i) name += (i ? "+" : "") + PadControlName(b.pad[i]);
    return name;
}

std::string ActionList()
{
    std::string list;
    for (const ActionInfo& action : actionInfo) list += std::string(list.empty() ? "" : " ") + action.name;
    return list;
}

// One of a line's inputs: "S", "Left Shift", "pad:a", "pad:back+start".
bool ParseInput(const std::string& text, Binding* b, std::string* problem)
{
    if (text.empty()) {
        *problem = "a key is missing (between commas, or after the =)";
        return false;
    }
    if (Lower(text.substr(0, 4)) != "pad:") {
        if (KeyFromName(text, &b->key)) return true;
        *problem = "unknown key " + Quoted(text) +
                   " (keys go by SDL's names, as A, Left, Left Shift, Keypad 4, Space or Comma; game controller "
                   "controls start with pad:)";
        return false;
    }
    std::string rest = text.substr(4);
    for (size_t start = 0;;) {
        size_t plus = rest.find('+', start);
        std::string name = Lower(Trimmed(rest.substr(start, plus == std::string::npos ? plus : plus - start)));
        int control = 0;
        if (!PadControlFromName(name, &control)) {
            std::string buttons;
            for (int button = 0; button < SDL_CONTROLLER_BUTTON_MAX; ++button) buttons += " " + PadControlName(button);
            *problem = "unknown game controller control " + Quoted(name) + " in " + Quoted(text) + " (buttons:" +
                       buttons + "; left-stick-left and the like for a stick, left-trigger, right-trigger; " +
                       "controls held together joined by +)";
            return false;
        }
        if (std::find(b->pad.begin(), b->pad.end(), control) != b->pad.end()) {
            *problem = Quoted(text) + " names " + Quoted(name) + " twice";
            return false;
        }
        b->pad.push_back(control);
        if (b->pad.size() > mostHeldTogether) {
            *problem = Quoted(text) + " holds more than " + std::to_string(mostHeldTogether) + " controls together";
            return false;
        }
        if (plus == std::string::npos) break;
        start = plus + 1;
    }
    std::sort(b->pad.begin(), b->pad.end());
    return true;
}

bool SameInput(const Binding& a, const Binding& b) { return a.pad == b.pad && (!a.pad.empty() || a.key == b.key); }

bool ParseBindings(const std::string& text, std::vector<Binding>* table, std::string* error)
{
    std::vector<Binding> given;
    int actionLine[kActionCount] = {};
    bool keysGiven[kActionCount] = {}, padGiven[kActionCount] = {};
    int number = 0;
    auto fail = [&](const std::string& problem) {
        *error = "line " + std::to_string(number) + ": " + problem;
        return false;
    };
    if (text.size() > longestText) {
        number = 1;
        return fail("this is over " + std::to_string(longestText / 1024) +
                    " KB long; a bindings file is a few lines");
    }
    for (size_t start = 0; start < text.size();) {
        ++number;
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        // Some editors begin a UTF-8 file with a byte-order mark, others end lines with CR LF.
        if (number == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        line = Trimmed(line);
        if (line.empty() || line[0] == '#') continue;
        size_t equals = line.find('=');
        if (equals == std::string::npos) return fail("expected ACTION = KEY, KEY..., not " + Quoted(line));
        std::string name = Lower(Trimmed(line.substr(0, equals)));
        int action = 0;
        while (action < kActionCount && name != actionInfo[action].name) ++action;
        if (action == kActionCount)
            return fail("unknown action " + Quoted(name) + " (the actions: " + ActionList() + ")");
        if (actionLine[action])
            return fail(name + " has its line already (line " + std::to_string(actionLine[action]) +
                        "); list all its keys there");
        actionLine[action] = number;
        std::string inputs = line.substr(equals + 1);
        for (size_t from = 0;;) {
            size_t comma = inputs.find(',', from);
            Binding b;
            b.action = action;
            b.line = number;
            std::string problem;
            if (!ParseInput(Trimmed(inputs.substr(from, comma == std::string::npos ? comma : comma - from)), &b,
                            &problem))
                return fail(problem);
            for (const Binding& other : given)
                if (other.line == number && SameInput(other, b))
                    return fail(Quoted(InputName(b)) + " is listed twice");
            (b.pad.empty() ? keysGiven : padGiven)[action] = true;
            given.push_back(b);
            if (comma == std::string::npos) break;
            from = comma + 1;
        }
    }
    // What the file does not mention keeps its default; a default first, so
    // that a clash is always found at a line of the file.
    std::vector<Binding> all;
    for (const Binding& b : DefaultBindings())
        if (!(b.pad.empty() ? keysGiven : padGiven)[b.action]) all.push_back(b);
    std::stable_sort(given.begin(), given.end(), [](const Binding& a, const Binding& b) { return a.line < b.line; });
    for (const Binding& b : given) {
        for (const Binding& other : all) {
            if (!SameInput(other, b)) continue;
            number = b.line;
            const ActionInfo& theirs = actionInfo[other.action];
            if (other.line)
                return fail(Quoted(InputName(b)) + " " + theirs.words + " already (line " +
                            std::to_string(other.line) + "); one key does one thing");
            return fail(Quoted(InputName(b)) + " " + theirs.words + " by default; give " + theirs.name +
                        " other " + (b.pad.empty() ? "keys" : "controller controls") + " to free it");
        }
        all.push_back(b);
    }
    *table = all;
    return true;
}

// Where the player's own file is: XDG's place for settings (a relative
// XDG_CONFIG_HOME counts as unset, as the XDG rules say), else ~/.config.
std::string PlayersFile()
{
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/') return std::string(config) + "/vorblox/bindings";
    const char* home = std::getenv("HOME");
    if (home && *home) return std::string(home) + "/.config/vorblox/bindings";
    return "";
}

}  // namespace

bool UseBindingsText(const std::string& text, std::string* error)
{
    std::vector<Binding> table;
    if (!ParseBindings(text, &table, error)) return false;
    SetBindings(table);
    return true;
}

bool LoadBindingsFile(const char* path, std::string* error)
{
    std::string file = path ? path : PlayersFile();
    if (file.empty()) return true;
    const std::string quoted = Quoted(file);
    struct stat info;
    int problem = 0;
    std::string text;
    if (stat(file.c_str(), &info) != 0) {
        problem = errno;
    } else if (S_ISDIR(info.st_mode)) {
        problem = EISDIR;
    } else if (FILE* in = std::fopen(file.c_str(), "rb")) {
        char buffer[4096];
        // One more than the longest text, so that a longer one is refused.
        for (size_t n; text.size() <= longestText && (n = std::fread(buffer, 1, sizeof buffer, in)) > 0;)
            text.append(buffer, n);
        if (std::ferror(in)) problem = EIO;
        std::fclose(in);
    } else {
        problem = errno;
    }
    // The player's own file may well not be there: then the game's keys hold.
    if (problem == ENOENT && !path) return true;
    if (problem) {
        *error = "cannot read the bindings file " + quoted + ": " + std::strerror(problem);
        return false;
    }
    std::string where;
    if (!UseBindingsText(text, &where)) {
        *error = "bindings file " + quoted + ": " + where;
        return false;
    }
    return true;
}

std::string ActionKeyNames(const std::string& action)
{
    std::string names;
    for (const Binding& b : CurrentBindings())
        if (b.pad.empty() && action == actionInfo[b.action].name)
            names += (names.empty() ? "" : " or ") + (b.key == SDL_SCANCODE_ESCAPE ? "Esc" : KeyName(b.key));
    return names;
}

std::string BindingsText()
{
    const std::vector<Binding>& bindings = CurrentBindings();
    std::string text;
    for (int action = 0; action < kActionCount; ++action) {
        std::string line;
        for (const Binding& b : bindings)
            if (b.action == action) line += (line.empty() ? "" : ", ") + InputName(b);
        text += std::string(actionInfo[action].name) + " = " + line + "\n";
    }
    return text;
}

}  // namespace plat
