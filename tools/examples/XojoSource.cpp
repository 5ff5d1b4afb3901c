#include "tools/examples/XojoSource.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <regex>
#include <set>

namespace xojo {

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string Trim(const std::string& text) {
    size_t begin = text.find_first_not_of(" \t\r");
    if (begin == std::string::npos) return {};
    return text.substr(begin, text.find_last_not_of(" \t\r") - begin + 1);
}

namespace {

std::vector<std::pair<int, std::string>> ReadLines(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    std::vector<std::pair<int, std::string>> lines;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.emplace_back(number, line);
    }
    return lines;
}

// Where a line's comment starts ("//" or "'" outside a string literal), or npos.
size_t CommentStart(const std::string& line) {
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"') quoted = !quoted;  // a doubled quote inside a literal toggles twice
        if (!quoted && (line[i] == '\'' || line.compare(i, 2, "//") == 0)) return i;
    }
    return std::string::npos;
}

bool StartsWithWord(const std::string& text, const std::string& word) {
    return Lower(text.substr(0, word.size())) == Lower(word) &&
           (text.size() == word.size() ||
            !(std::isalnum(static_cast<unsigned char>(text[word.size()])) || text[word.size()] == '_'));
}

// "Public Function X" -> "Public" and "Function X".
std::string TakeScope(std::string& declaration) {
    for (const char* scope : {"Public", "Protected", "Private", "Global"}) {
        if (StartsWithWord(declaration, scope)) {
            declaration = Trim(declaration.substr(std::char_traits<char>::length(scope)));
            return scope;
        }
    }
    return "";
}

bool IsMethodStart(const std::string& statement) {
    std::string text = statement;
    TakeScope(text);
    return StartsWithWord(text, "Function") || StartsWithWord(text, "Sub");
}

bool IsMethodEnd(const std::string& statement) {
    std::string text = Lower(statement);
    return text == "end function" || text == "end sub";
}

// "Name As Type", "Name() As Type", optionally scoped or with "= value": false for anything else.
bool ParseDeclared(std::string text, Declared& out) {
    TakeScope(text);
    static const std::regex declared(R"(^(\w+)(\(\))?\s+As\s+(\w+(?:\.\w+)*)\s*(=.*)?$)", std::regex::icase);
    std::smatch m;
    if (!std::regex_match(text, m, declared)) return false;
    out.name = m[1];
    out.type = m[3].str() + (m[2].matched ? "()" : "");
    return true;
}

// Splits "Caption \"Scan, now\", Enabled False" at the commas outside quotes.
std::vector<std::string> SplitOutsideQuotes(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    bool quoted = false;
    for (char c : text) {
        if (c == '"') quoted = !quoted;
        if (c == separator && !quoted) {
            parts.push_back(Trim(part));
            part.clear();
        } else {
            part += c;
        }
    }
    if (!Trim(part).empty()) parts.push_back(Trim(part));
    return parts;
}

Item& FindOrAdd(std::vector<Item>& items, const std::string& name, Item::Kind kind, const std::string& file, int line,
                Problems& problems) {
    for (Item& item : items) {
        if (Lower(item.name) != Lower(name)) continue;
        if (item.kind != kind) problems.push_back({file, line, name + " is both a class and a window"});
        return item;
    }
    Item item;
    item.kind = kind;
    item.name = name;
    item.super = kind == Item::Kind::Window ? "DesktopWindow" : "";
    item.file = file;
    item.line = line;
    items.push_back(item);
    return items.back();
}

// The properties and methods of a part: "Name As Type" lines, then methods from "Function/Sub" to their End.
void ReadCode(const std::vector<std::pair<int, std::string>>& lines, Item& item, Method::Kind kind, bool properties,
              const std::string& file, Problems& problems, std::vector<Method>* added) {
    std::vector<Statement> statements = Statements(lines);
    for (size_t s = 0; s < statements.size(); ++s) {
        const Statement& statement = statements[s];
        if (IsMethodStart(statement.text)) {
            Method method;
            method.kind = kind;
            method.declaration = statement.text;
            method.scope = TakeScope(method.declaration);
            method.line = statement.line;
            if (!ParseMethodDeclaration(method)) problems.push_back({file, statement.line, "cannot read this declaration"});
            size_t end = s + 1;
            while (end < statements.size() && !IsMethodEnd(statements[end].text) && !IsMethodStart(statements[end].text)) ++end;
            if (end == statements.size() || !IsMethodEnd(statements[end].text)) {
                problems.push_back({file, statement.line, method.name + " has no End Sub or End Function"});
                return;
            }
            method.body.assign(statements.begin() + static_cast<long>(s) + 1, statements.begin() + static_cast<long>(end));
            for (const auto& [number, text] : lines)
                if (number > statement.last && number < statements[end].line) method.lines.push_back(text);
            item.methods.push_back(method);
            if (added != nullptr) added->push_back(method);
            s = end;
        } else if (Declared declared; properties && ParseDeclared(statement.text, declared)) {
            declared.line = statement.line;
            item.properties.push_back(declared);
        } else {
            problems.push_back({file, statement.line, properties ? "not a property or a method" : "code outside a method"});
        }
    }
}

std::string UnquoteDefault(const std::string& text) {
    // Default = \"-2145320957" in a constant's tag line.
    size_t at = text.find("Default = ");
    if (at == std::string::npos) return {};
    std::string value = text.substr(at + 10);
    if (value.rfind("\\\"", 0) == 0) value = value.substr(2);
    size_t end = value.find('"');
    return end == std::string::npos ? value : value.substr(0, end);
}

std::string TagField(const std::string& text, const std::string& field) {
    static const std::regex any(R"((\w+) = ([^,]*))");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), any); it != std::sregex_iterator(); ++it)
        if ((*it)[1] == field) return Trim((*it)[2]);
    return {};
}

}  // namespace

std::vector<Statement> Statements(const std::vector<std::pair<int, std::string>>& lines) {
    std::vector<Statement> statements;
    std::string pending;
    int first = 0;
    for (const auto& [number, raw] : lines) {
        std::string text = raw;
        std::replace(text.begin(), text.end(), '\t', ' ');
        size_t comment = CommentStart(text);
        if (comment != std::string::npos) text.resize(comment);
        text = Trim(text);
        if (StartsWithWord(text, "Rem")) text.clear();
        bool continued = text.size() >= 2 && text.compare(text.size() - 2, 2, " _") == 0;
        if (continued) text = Trim(text.substr(0, text.size() - 1));
        if (text.empty() && pending.empty()) continue;
        if (pending.empty()) first = number;
        pending += pending.empty() ? text : " " + text;
        if (!continued) {
            statements.push_back({first, number, pending});
            pending.clear();
        }
    }
    if (!pending.empty()) statements.push_back({first, lines.empty() ? first : lines.back().first, pending});
    return statements;
}

bool ParseMethodDeclaration(Method& method) {
    static const std::regex declaration(R"(^(Function|Sub)\s+(\w+)\s*(?:\(((?:[^()]|\(\))*)\))?\s*(?:As\s+(\w+(?:\(\))?))?\s*$)",
                                        std::regex::icase);
    std::smatch m;
    if (!std::regex_match(method.declaration, m, declaration)) return false;
    method.name = m[2];
    method.result = m[4];
    method.params.clear();
    if (Lower(m[1]) == "function" && method.result.empty()) return false;
    for (const std::string& part : SplitOutsideQuotes(m[3], ',')) {
        std::string text = part;
        for (const char* word : {"ByVal", "ByRef", "Optional", "Extends", "Assigns", "ParamArray"})
            if (StartsWithWord(text, word)) text = Trim(text.substr(std::char_traits<char>::length(word)));
        Declared param;
        if (!ParseDeclared(text, param)) return false;
        method.params.push_back(param);
    }
    return true;
}

std::vector<Item> ReadExample(const std::filesystem::path& path, Problems& problems) {
    const std::string file = path.filename().string();
    const std::vector<std::pair<int, std::string>> lines = ReadLines(path);
    static const std::regex header(R"(^// ---- (.*?) ----\s*(//.*)?$)");
    static const std::regex classPart(R"(^Class (\w+) \(Super (\w+)\)(:.*)?$)");
    static const std::regex controlsPart(R"(^(\w+): its controls$)");
    static const std::regex propertiesPart(R"(^(\w+): its propert(y|ies)$)");
    static const std::regex methodPart(R"(^(\w+): method (\w+).*$)");
    static const std::regex eventPart(R"(^(\w+): the (\w+) event( of (\w+))?$)");
    std::vector<Item> items;

    size_t index = 0;
    while (index < lines.size() && !std::regex_match(lines[index].second, header)) {
        if (!lines[index].second.empty() && lines[index].second.rfind("//", 0) != 0)
            problems.push_back({file, lines[index].first, "code before the first part header"});
        ++index;
    }
    while (index < lines.size()) {
        const int headerLine = lines[index].first;
        std::smatch h;
        std::regex_match(lines[index].second, h, header);
        const std::string where = h[1];
        std::vector<std::pair<int, std::string>> part;
        for (++index; index < lines.size() && !std::regex_match(lines[index].second, header); ++index)
            part.push_back(lines[index]);

        std::smatch m;
        if (std::regex_match(where, m, classPart)) {
            Item& item = FindOrAdd(items, m[1], Item::Kind::Class, file, headerLine, problems);
            item.super = m[2];
            ReadCode(part, item, Method::Kind::Event, true, file, problems, nullptr);
        } else if (std::regex_match(where, m, controlsPart)) {
            Item& window = FindOrAdd(items, m[1], Item::Kind::Window, file, headerLine, problems);
            for (const auto& [number, raw] : part) {
                size_t comment = CommentStart(raw);
                std::string code = Trim(raw.substr(0, comment));
                if (code.empty()) continue;
                Control control;
                if (!ParseDeclared(code, control)) {
                    problems.push_back({file, number, "a control is written \"Name As Type // Property value, ...\""});
                    continue;
                }
                control.line = number;
                if (comment != std::string::npos) {
                    for (const std::string& setting : SplitOutsideQuotes(raw.substr(comment + 2), ',')) {
                        size_t space = setting.find(' ');
                        if (space == std::string::npos) {
                            problems.push_back({file, number, "a control property needs a value: " + setting});
                            continue;
                        }
                        control.properties.emplace_back(setting.substr(0, space), Trim(setting.substr(space + 1)));
                    }
                }
                window.controls.push_back(control);
            }
        } else if (std::regex_match(where, m, propertiesPart)) {
            Item& window = FindOrAdd(items, m[1], Item::Kind::Window, file, headerLine, problems);
            for (const Statement& statement : Statements(part)) {
                Declared declared;
                if (!ParseDeclared(statement.text, declared)) {
                    problems.push_back({file, statement.line, "not a property"});
                    continue;
                }
                declared.line = statement.line;
                window.properties.push_back(declared);
            }
        } else if (std::regex_match(where, m, methodPart) || std::regex_match(where, m, eventPart)) {
            const bool isMethod = Lower(where).find(": method ") != std::string::npos;
            Item& window = FindOrAdd(items, m[1], Item::Kind::Window, file, headerLine, problems);
            std::vector<Method> added;
            Method::Kind kind = isMethod ? Method::Kind::Method : m[3].matched ? Method::Kind::ControlEvent : Method::Kind::Event;
            ReadCode(part, window, kind, false, file, problems, &added);
            if (added.size() != 1) {
                problems.push_back({file, headerLine, "a method or event part holds one Sub or Function"});
                continue;
            }
            Method& method = window.methods.back();
            if (!isMethod) method.control = m[4];
            if (Lower(method.name) != Lower(m[2]))
                problems.push_back({file, method.line, method.name + " is not the " + m[2].str() + " the header names"});
        } else {
            problems.push_back({file, headerLine,
                                "a part header says \"Class <Name> (Super <Class>): ...\" or \"<Window>: "
                                "its controls / its properties / method ... / the <Event> event [of "
                                "<Control>]\""});
        }
    }
    return items;
}

Item ReadItemFile(const std::filesystem::path& path, Problems& problems) {
    const std::string file = path.filename().string();
    const std::vector<std::pair<int, std::string>> lines = ReadLines(path);
    Item item;
    item.file = file;
    std::string events;  // the control of a "#tag Events" block
    bool windowCode = false;
    static const std::regex classLine(R"(^(?:(?:Protected|Public|Private)\s+)?(Class|Module|Interface)\s+(\w+)\s*$)");
    static const std::regex beginLine(R"(^(\s*)Begin\s+(\w+)\s+(\w+)\s*$)");
    static const std::regex setting(R"(^\s*(\w+)\s*=\s*(.*)$)");
    for (size_t i = 0; i < lines.size(); ++i) {
        const auto& [number, raw] = lines[i];
        const std::string text = Trim(raw);
        std::smatch m;
        if (text == "#tag Class" || text == "#tag Module" || text == "#tag Interface") {
            const std::string next = i + 1 < lines.size() ? Trim(lines[i + 1].second) : std::string();
            if (std::regex_match(next, m, classLine)) {
                item.kind = m[1] == "Module" ? Item::Kind::Module : Item::Kind::Class;
                item.name = m[2];
                item.line = lines[i + 1].first;
                ++i;
            } else {
                problems.push_back({file, number, "no Class or Module line after " + text});
            }
        } else if (text.rfind("Inherits ", 0) == 0) {
            item.super = Trim(text.substr(9));
        } else if (text == "#tag DesktopWindow" || text == "#tag Window" || text == "#tag Menu") {
            const bool menu = text == "#tag Menu";
            if (i + 1 >= lines.size() || !std::regex_match(lines[i + 1].second, m, beginLine)) {
                problems.push_back({file, number, "no Begin line after " + text});
                continue;
            }
            item.kind = menu ? Item::Kind::MenuBar : Item::Kind::Window;
            item.super = m[2];
            item.name = m[3];
            item.line = lines[i + 1].first;
            // The layout: Begin <Type> <Name> blocks, "Property = value" lines, End. Controls inside controls count too.
            int depth = 0;
            for (i += 1; i < lines.size(); ++i) {
                const std::string& line = lines[i].second;
                if (std::regex_match(line, m, beginLine)) {
                    if (++depth >= 2 && !menu) {
                        Control control;
                        control.type = m[2];
                        control.name = m[3];
                        control.line = lines[i].first;
                        item.controls.push_back(control);
                    }
                } else if (Trim(line) == "End") {
                    if (--depth == 0) break;
                } else if (depth >= 2 && !menu && std::regex_match(line, m, setting)) {
                    item.controls.back().properties.emplace_back(m[1], Trim(m[2]));
                }
            }
        } else if (text == "#tag WindowCode") {
            windowCode = true;
        } else if (text == "#tag EndWindowCode") {
            windowCode = false;
        } else if (text.rfind("#tag Events ", 0) == 0) {
            events = Trim(text.substr(11));
        } else if (text == "#tag EndEvents") {
            events.clear();
        } else if (text.rfind("#tag Method", 0) == 0 || text == "#tag Event") {
            const bool isEvent = text == "#tag Event";
            std::vector<std::pair<int, std::string>> code;
            for (++i; i < lines.size() && Trim(lines[i].second) != (isEvent ? "#tag EndEvent" : "#tag EndMethod"); ++i) {
                std::string line = lines[i].second;
                if (line.rfind("\t\t", 0) == 0) line = line.substr(2);  // the text format's indent of code
                code.emplace_back(lines[i].first, line);
            }
            Method::Kind kind = !isEvent          ? Method::Kind::Method
                                : !events.empty() ? Method::Kind::ControlEvent
                                                  : Method::Kind::Event;
            std::vector<Method> added;
            ReadCode(code, item, kind, false, file, problems, &added);
            if (added.size() != 1) problems.push_back({file, number, "a method or event tag holds one Sub or Function"});
            if (!added.empty()) item.methods.back().control = events;
            (void)windowCode;
        } else if (text.rfind("#tag Property", 0) == 0) {
            for (++i; i < lines.size() && Trim(lines[i].second) != "#tag EndProperty"; ++i) {
                const std::string line = Trim(lines[i].second);
                if (line.empty() || line.rfind("#tag", 0) == 0) continue;
                Declared declared;
                if (ParseDeclared(line, declared)) {
                    declared.line = lines[i].first;
                    item.properties.push_back(declared);
                }
            }
        } else if (text.rfind("#tag Constant,", 0) == 0) {
            item.constants.push_back({TagField(text, "Name"), TagField(text, "Type"), UnquoteDefault(text), number});
        } else if (text.rfind("#tag Note", 0) == 0) {
            for (++i; i < lines.size() && Trim(lines[i].second) != "#tag EndNote"; ++i) {
                std::string line = lines[i].second;
                item.note.push_back(line.rfind("\t\t", 0) == 0 ? line.substr(2) : Trim(line));
            }
        } else if (text == "#tag ViewBehavior") {
            while (i + 1 < lines.size() && Trim(lines[i].second) != "#tag EndViewBehavior") ++i;
        }
    }
    if (item.name.empty()) problems.push_back({file, 1, "not a class, module, window or menu in Xojo's text format"});
    return item;
}

std::string Project::Setting(const std::string& key) const {
    for (const auto& [name, value] : settings)
        if (name == key) return value;
    return {};
}

Project ReadProject(const std::filesystem::path& path, Problems& problems) {
    const std::string file = path.filename().string();
    Project project;
    project.file = path;
    static const std::set<std::string> kinds = {"Class",   "Module",         "Interface",  "DesktopWindow", "Window",
                                                "MenuBar", "Folder",         "BuildSteps", "Picture",       "MultiImage",
                                                "Toolbar", "DesktopToolbar", "FileTypes",  "FileTypeGroup", "Sound"};
    std::set<std::string> ids, names, folders;
    for (const auto& [number, raw] : ReadLines(path)) {
        size_t equals = raw.find('=');
        if (equals == std::string::npos) {
            if (!Trim(raw).empty()) problems.push_back({file, number, "a project line is \"Key=Value\""});
            continue;
        }
        const std::string key = raw.substr(0, equals), value = raw.substr(equals + 1);
        if (kinds.count(key) == 0) {
            project.settings.emplace_back(key, value);
            continue;
        }
        std::vector<std::string> fields;
        for (size_t start = 0, end; start <= value.size(); start = end + 1) {
            end = std::min(value.find(';', start), value.size());
            fields.push_back(value.substr(start, end - start));
        }
        if (fields.size() < 5) {
            problems.push_back({file, number, "an item line is \"Kind=Name;path;&hID;&hParent;false\""});
            continue;
        }
        ProjectEntry entry{key, fields[0], fields[1], fields[2], fields[3], number};
        if (!ids.insert(entry.id).second) problems.push_back({file, number, "the id " + entry.id + " is used twice"});
        if (!names.insert(Lower(entry.name)).second) problems.push_back({file, number, entry.name + " is listed twice"});
        if (key == "Folder") folders.insert(entry.id);
        const std::filesystem::path listed = path.parent_path() / entry.path;
        const bool present = key == "Folder" ? std::filesystem::is_directory(listed) : std::filesystem::is_regular_file(listed);
        if (!present) problems.push_back({file, number, entry.path + " is listed but missing"});
        project.entries.push_back(entry);
    }
    for (const ProjectEntry& entry : project.entries)
        if (entry.parent != "&h0000000000000000" && folders.count(entry.parent) == 0)
            problems.push_back({file, entry.line, entry.name + "'s parent " + entry.parent + " is not a folder of the project"});

    auto listed = [&](const std::string& setting, std::initializer_list<const char*> entryKinds) {
        const std::string name = project.Setting(setting);
        for (const ProjectEntry& entry : project.entries)
            for (const char* kind : entryKinds)
                if (entry.kind == kind && entry.name == name) return;
        problems.push_back({file, 0, setting + "=" + name + " names no item of the project"});
    };
    if (project.Setting("Type") != "Desktop") problems.push_back({file, 0, "not a desktop project (Type=Desktop)"});
    listed("DefaultWindow", {"DesktopWindow", "Window"});
    listed("AppMenuBar", {"MenuBar"});

    for (const ProjectEntry& entry : project.entries) {
        if (entry.kind != "Class" && entry.kind != "Module" && entry.kind != "DesktopWindow" && entry.kind != "MenuBar") continue;
        const std::filesystem::path listedFile = path.parent_path() / entry.path;
        if (!std::filesystem::is_regular_file(listedFile)) continue;
        Item item = ReadItemFile(listedFile, problems);
        item.file = entry.path;
        if (item.name != entry.name)
            problems.push_back({entry.path, item.line, "the file holds " + item.name + ", the project lists " + entry.name});
        project.items.push_back(item);
    }
    return project;
}

}  // namespace xojo
