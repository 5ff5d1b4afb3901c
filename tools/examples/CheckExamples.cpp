// Reads every examples/*.xojo_code and checks it against what the plug-in registers in the simulated host:
// each WIA…ZVK class it names is registered; each member it uses on a class or on a variable of a plug-in
// class is a registered property, method, shared member or constant of that class; calls pass a number of
// arguments that some overload accepts (optional parameters counted); assignments go to members with a
// setter; event handlers under a part header "class <Name> ... Super <WIA class>" match the registered
// event's parameter and return types. Prints "file:line: problem" for each finding and exits 1 if any.
// Usage (under Wine, in the folder of WIAZVK.dll): wiazvk_check_examples.exe <examples folder> [dll]
#include <objbase.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "tests/host/SimHost.h"

namespace {

using simhost::ClassView;
using simhost::MethodView;
using simhost::SplitConstant;

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}
bool Word(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// The file's statements with their first line numbers: string contents and comments removed, lines ending
// in " _" joined to the next, part headers ("// ---- ...") kept whole.
std::vector<std::pair<int, std::string>> ReadCode(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::vector<std::pair<int, std::string>> lines;
    std::string raw, code;
    for (int number = 1; std::getline(in, raw); ++number) {
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        std::string stripped;
        for (size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] == '"') {
                size_t close = i + 1;
                while (close < raw.size() && !(raw[close] == '"' && (close + 1 >= raw.size() || raw[close + 1] != '"')))
                    close += raw[close] == '"' ? 2 : 1;
                stripped += "\"\"";
                i = close;
            } else if (raw[i] == '\'' || raw.compare(i, 2, "//") == 0) {
                break;
            } else {
                stripped += raw[i];
            }
        }
        if (raw.find_first_not_of(" \t") != std::string::npos && raw.compare(raw.find_first_not_of(" \t"), 7, "// ----") == 0)
            stripped = raw.substr(raw.find_first_not_of(" \t"));
        std::replace(stripped.begin(), stripped.end(), '\t', ' ');
        size_t last = stripped.find_last_not_of(' ');  // blanks (or a comment) may follow the " _"
        bool continued = last != std::string::npos && last >= 1 && stripped.compare(last - 1, 2, " _") == 0;
        if (continued) stripped.resize(last);
        if (code.empty()) lines.emplace_back(number, "");
        code += stripped;
        if (!continued) lines.back().second = code, code.clear();
    }
    return lines;
}

struct Checker {
    std::map<std::string, const ClassView*> classes;   // lower-case class name (or script subclass) -> class
    std::map<std::string, std::string> variables;      // lower-case name -> lower-case type, "()" for arrays
    std::map<std::string, std::set<std::string>> own;  // script subclass -> the properties its part declares
    std::string file;
    int line = 0, problems = 0, uses = 0;

    void Report(const std::string& problem) {
        std::printf("%s:%d: %s\n", file.c_str(), line, problem.c_str());
        ++problems;
    }
    const ClassView* FindClass(const std::string& name) const {
        auto it = classes.find(Lower(name));
        return it == classes.end() ? nullptr : it->second;
    }

    // Overloads of a method that accept `count` arguments (with a setter when assigned).
    static std::vector<const MethodView*> Accepting(const std::vector<MethodView>& methods, const std::string& name, int count,
                                                    bool assigned, bool* named) {
        std::vector<const MethodView*> found;
        for (const MethodView& method : methods) {
            if (Lower(method.signature.name) != name) continue;
            *named = true;
            int required = 0;
            for (const auto& param : method.signature.params) required += param.hasDefault ? 0 : 1;
            if (count >= required && count <= int(method.signature.params.size()) && (!assigned || method.setter != nullptr))
                found.push_back(&method);
        }
        return found;
    }

    // Checks one member use; returns the class its value belongs to (for a further ".member"), or null.
    const ClassView* Member(const ClassView& cls, const std::string& member, int args, bool assigned, bool shared) {
        ++uses;
        const std::string name = Lower(member), where = cls.name + "." + member;
        const std::vector<MethodView>& methods = shared ? cls.sharedMethods : cls.methods;
        for (const auto& property : shared ? cls.sharedProperties : cls.properties) {
            if (Lower(property.name) != name) continue;
            if (args >= 0) Report(where + " is a property and takes no arguments");
            if (assigned && property.setter == nullptr) Report(where + " is read-only");
            return FindClass(property.type);
        }
        bool named = false;
        std::vector<const MethodView*> accepting = Accepting(methods, name, std::max(args, 0), assigned, &named);
        if (named) {
            if (accepting.empty())
                Report(assigned ? where + " cannot be assigned with " + std::to_string(std::max(args, 0)) + " arguments"
                                : "no overload of " + where + " takes " + std::to_string(std::max(args, 0)) + " arguments");
            return accepting.empty() ? nullptr : FindClass(accepting.front()->signature.resultName);
        }
        if (shared) {
            for (const std::string& constant : cls.constants) {
                if (Lower(SplitConstant(constant).first) != name) continue;
                if (args >= 0 || assigned) Report(where + " is a constant");
                return nullptr;
            }
        }
        for (const std::string& event : cls.events) {
            if (Lower(simhost::ParseDeclaration(event).name) == name) {
                Report(where + " is an event: handle it in a subclass");
                return nullptr;
            }
        }
        bool other = false;  // a member of the other kind: shared used on a variable, or the reverse
        for (const auto& property : shared ? cls.properties : cls.sharedProperties) other |= Lower(property.name) == name;
        for (const auto& method : shared ? cls.methods : cls.sharedMethods) other |= Lower(method.signature.name) == name;
        for (const std::string& constant : cls.constants) other |= !shared && Lower(SplitConstant(constant).first) == name;
        Report(other ? where + (shared ? " is an instance member: use it on a variable" : " is shared: use it on the class")
                     : where + " is not registered");
        return nullptr;
    }

    // Arguments between the parenthesis at `open` and its partner: count and the position after it.
    static int Arguments(const std::string& text, size_t open, size_t* after) {
        int depth = 0, commas = 0;
        bool any = false;
        size_t i = open;
        for (; i < text.size(); ++i) {
            if (text[i] == '(') ++depth;
            if (text[i] == ')' && --depth == 0) break;
            if (text[i] == ',' && depth == 1) ++commas;
            if (depth >= 1 && i > open && text[i] != ' ') any = true;
        }
        *after = i + 1;
        return any ? commas + 1 : 0;
    }

    // Walks ".member(args).member..." from `pos` on a value of class `cls`.
    void Chain(const std::string& text, size_t pos, const ClassView* cls, bool shared, bool statementStart) {
        static const std::regex keyword("^(then|and|or|xor|not|mod|to|downto|step|else|is|isa|in|as)\\b");
        while (cls != nullptr && pos < text.size() && text[pos] == '.') {
            size_t end = pos + 1;
            while (end < text.size() && Word(text[end])) ++end;
            const std::string member = text.substr(pos + 1, end - pos - 1);
            size_t after = end;
            int args = -1;
            if (after < text.size() && text[after] == '(') args = Arguments(text, after, &after);
            size_t next = text.find_first_not_of(' ', after);
            bool last = next == std::string::npos || text[next] != '.';
            bool assigned = last && statementStart && next != std::string::npos && text[next] == '=';
            if (args < 0 && last && next != std::string::npos && next > after && (Word(text[next]) || text[next] == '"') &&
                !std::regex_search(Lower(text.substr(next)), keyword))
                Report(cls->name + "." + member + ": arguments need parentheses");
            cls = Member(*cls, member, args, assigned, shared);
            shared = false;
            pos = after;
        }
    }

    // An event handler "Function Name(params) As Type" written in a subclass of `super`.
    void Handler(const ClassView& super, const std::string& name, const std::string& params, const std::string& result) {
        ++uses;
        for (const std::string& event : super.events) {
            simhost::Signature registered = simhost::ParseDeclaration(event);
            if (Lower(registered.name) != Lower(name)) continue;
            simhost::Signature written;
            try {
                written = simhost::ParseDeclaration("E(" + params + ")" + (result.empty() ? "" : " as " + result));
            } catch (const std::exception& error) {
                Report("handler " + name + ": " + error.what());
                return;
            }
            bool same =
                written.params.size() == registered.params.size() && Lower(written.resultName) == Lower(registered.resultName);
            for (size_t i = 0; same && i < written.params.size(); ++i)
                same = Lower(written.params[i].typeName) == Lower(registered.params[i].typeName) &&
                       written.params[i].byRef == registered.params[i].byRef;
            if (!same) Report("handler " + name + " does not match the event " + super.name + "." + event);
            return;
        }
        Report(name + " is not an event of " + super.name);
    }

    void CheckFile(const std::filesystem::path& path) {
        file = path.filename().string();
        const std::vector<std::pair<int, std::string>> lines = ReadCode(path);
        static const std::regex header(R"(class\s+(\w+).*\bsuper\s+(\w+))", std::regex::icase);
        static const std::regex declaration(R"((\w+)(\(\))?\s+as\s+(new\s+)?(\w+))", std::regex::icase);
        static const std::regex handler(
            R"(^\s*(?:(?:private|public|protected)\s+)?(?:function|sub)\s+(\w+)\s*\((.*)\)\s*(?:as\s+(\w+))?\s*$)",
            std::regex::icase);
        static const std::regex property(R"(^\s*(\w+)(\(\))?\s+as\s+\w+)", std::regex::icase);
        static const std::regex plugin("^WIA\\w*ZVK$", std::regex::icase);
        variables.clear();
        std::map<std::string, const ClassView*> parts;  // subclass name -> its super, within this file
        for (auto& [number, text] : lines) {  // subclasses first, then declarations: a part may use what a later one declares
            line = number;
            std::smatch m;
            if (text.rfind("// ----", 0) != 0 || !std::regex_search(text, m, header)) continue;
            const ClassView* super = FindClass(m[2]);
            if (super == nullptr) Report("the Super " + m[2].str() + " is not a registered class");
            classes[Lower(m[1])] = super, parts[Lower(m[1])] = super;
        }
        std::string subclass;
        for (auto& [number, text] : lines) {
            line = number;
            std::smatch m;
            if (text.rfind("// ----", 0) == 0) {
                subclass = std::regex_search(text, m, header) ? Lower(m[1]) : "";
                continue;
            }
            if (!subclass.empty() && std::regex_search(text, m, property)) own[subclass].insert(Lower(m[1]));
            for (auto it = std::sregex_iterator(text.begin(), text.end(), declaration); it != std::sregex_iterator(); ++it) {
                std::string name = Lower((*it)[1]), type = Lower((*it)[4]) + ((*it)[2].matched ? "()" : "");
                auto known = variables.find(name);
                bool ours = FindClass(Lower((*it)[4])) != nullptr ||
                            (known != variables.end() && FindClass(known->second.substr(0, known->second.find('('))) != nullptr);
                if (known != variables.end() && known->second != type && ours)
                    Report(name + " is declared as " + known->second + " and as " + type + ": use one name per type");
                variables[name] = type;
            }
        }
        const ClassView* super = nullptr;
        for (auto& [number, text] : lines) {
            line = number;
            if (text.rfind("// ----", 0) == 0) {
                std::smatch m;
                super = std::regex_search(text, m, header) ? FindClass(m[2]) : nullptr;
                continue;
            }
            std::smatch m;
            if (super != nullptr && std::regex_match(text, m, handler)) Handler(*super, m[1], m[2], m[3]);
            const size_t start = text.find_first_not_of(' ');
            for (size_t i = 0; i < text.size();) {
                if (!Word(text[i]) || (i > 0 && (Word(text[i - 1]) || text[i - 1] == '.'))) {
                    ++i;
                    continue;
                }
                size_t end = i;
                while (end < text.size() && Word(text[end])) ++end;
                const std::string token = text.substr(i, end - i);
                const bool atStart = i == start;
                const ClassView* cls = FindClass(token);
                auto variable = variables.find(Lower(token));
                if (std::regex_match(token, plugin) && cls == nullptr) {
                    Report(token + " is not a class the plug-in registers");
                } else if (cls != nullptr && end < text.size() && text[end] == '.') {
                    Chain(text, end, cls, true, atStart);
                } else if (cls != nullptr && i >= 4 && Lower(text.substr(i - 4, 4)) == "new ") {
                    size_t after = end;
                    int args = end < text.size() && text[end] == '(' ? Arguments(text, end, &after) : 0;
                    bool named = false;
                    if (Accepting(cls->methods, "constructor", args, false, &named).empty() && (named || args > 0))
                        Report("no constructor of " + cls->name + " takes " + std::to_string(args) + " arguments");
                } else if (cls != nullptr && end < text.size() && text[end] == '(') {
                    size_t after;
                    Arguments(text, end, &after);
                    Chain(text, after, cls, false, false);  // a cast: WIAGUIDZVK(value).DisplayString
                } else if (variable != variables.end()) {
                    std::string type = variable->second;
                    size_t after = end;
                    if (type.size() > 2 && type.compare(type.size() - 2, 2, "()") == 0 && after < text.size() &&
                        text[after] == '(') {
                        Arguments(text, after, &after);  // an element: items(0).Member
                        type.resize(type.size() - 2);
                    }
                    size_t member = after + 1, stop = member;
                    while (stop < text.size() && Word(text[stop])) ++stop;
                    bool ownMember =
                        after < text.size() && text[after] == '.' && own[type].count(Lower(text.substr(member, stop - member)));
                    if (const ClassView* typed = FindClass(type); typed != nullptr && !ownMember)
                        Chain(text, after, typed, false, atStart);
                }
                i = end;
            }
        }
        for (const auto& part : parts) classes.erase(part.first), own.erase(part.first);
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: wiazvk_check_examples <examples folder> [WIAZVK.dll]\n");
        return 2;
    }
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int status = 0;
    try {
        simhost::SimHost host;
        host.Load(argc > 2 ? argv[2] : "WIAZVK.dll");
        Checker checker;
        for (const ClassView& cls : host.Classes()) checker.classes[Lower(cls.name)] = &cls;
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::directory_iterator(argv[1])) {
            std::ifstream in(entry.path());
            std::string first;
            std::getline(in, first);
            // Project items in Xojo's text format (the WIAConstants module) are not paste-in examples.
            if (entry.path().extension() == ".xojo_code" && first.rfind("#tag ", 0) != 0) files.push_back(entry.path());
        }
        std::sort(files.begin(), files.end());
        for (const auto& path : files) checker.CheckFile(path);
        std::printf("%zu examples, %d uses of plug-in members and events checked, %d problems\n", files.size(), checker.uses,
                    checker.problems);
        status = files.empty() || checker.problems != 0 ? 1 : 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "check failed: %s\n", error.what());
        status = 1;
    }
    CoUninitialize();
    return status;
}
