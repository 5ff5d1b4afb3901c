// Writes the class reference from what the DLL registers: loads it in the simulated host as a 2021.03 host
// and as a 2021.02 one (the overloads only the newer host sees are marked), and writes one Markdown page per
// class, an index page with the conventions every class shares, and one self-contained HTML file that starts with
// the guide (docs/GUIDE.md).
//
//     wiazvk_reference.exe <Conventions.md> <docs folder> <output folder> [WIAZVK.dll]
//
// The guide's table of result codes must give each code of the WIAConstants module beside the examples
// (examples/WIAConstants.xojo_code) with the module's value, in hex and as Lasterror holds it: the tool fails,
// naming the row or constant, otherwise.
// Every member the DLL registers needs a line in kDescriptions below, and every line there must name a
// registered member: the tool fails, naming the member, otherwise. Output is deterministic (no dates, no
// absolute paths), so a check can compare it with the committed pages byte for byte.
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/host/SimHost.h"

#ifndef WIAZVK_VERSION
#define WIAZVK_VERSION "0.0.0"
#endif

namespace {

#include "tools/reference/Descriptions.inc"

// One declaration of a method or event, with what its line marks.
struct Declaration {
    std::string text;
    bool newHostOnly = false;  // not registered on a host before 2021.03
    bool assignable = false;   // the method has a setter
};

// One member as a page lists it: its name, the declarations that share it (methods and events: every
// overload), and for properties the type, for constants the value.
struct Member {
    std::string name;
    std::vector<Declaration> declarations;
    std::string type, value;
};

struct ClassPage {
    std::string name;
    std::vector<Member> properties, sharedProperties, methods, sharedMethods, events, constants;
};

// Adds a declaration to its member, overloads grouped under the first one's name in registration order.
Member& Add(std::vector<Member>& members, const std::string& name) {
    for (Member& member : members)
        if (member.name == name) return member;
    members.push_back(Member{name, {}, {}, {}});
    return members.back();
}

void AddMethods(std::vector<Member>& members, const std::vector<simhost::MethodView>& methods, const std::set<std::string>& old) {
    for (const simhost::MethodView& method : methods) {
        Member& member = Add(members, method.signature.name);
        member.declarations.push_back({method.declaration, old.count(method.declaration) == 0, method.setter != nullptr});
    }
}

void AddProperties(std::vector<Member>& members, const std::vector<simhost::PropertyView>& properties) {
    for (const simhost::PropertyView& property : properties) {
        Add(members, property.name).type = property.type;
    }
}

// Method declarations a host before 2021.03 sees, by class (methods and shared methods alike).
std::map<std::string, std::set<std::string>> OldHostDeclarations(const char* dll) {
    simhost::Options options;
    options.version = 2021.02;
    simhost::SimHost host(options);
    host.Load(dll);
    std::map<std::string, std::set<std::string>> seen;
    for (const simhost::ClassView& cls : host.Classes()) {
        for (const auto& method : cls.methods) seen[cls.name].insert(method.declaration);
        for (const auto& method : cls.sharedMethods) seen[cls.name].insert(method.declaration);
    }
    return seen;
}

std::vector<ClassPage> ReadClasses(const char* dll) {
    std::map<std::string, std::set<std::string>> old = OldHostDeclarations(dll);
    simhost::SimHost host;  // a 2021.03 host
    host.Load(dll);
    std::vector<ClassPage> pages;
    for (const simhost::ClassView& cls : host.Classes()) {
        ClassPage page{cls.name, {}, {}, {}, {}, {}, {}};
        AddProperties(page.properties, cls.properties);
        AddProperties(page.sharedProperties, cls.sharedProperties);
        AddMethods(page.methods, cls.methods, old[cls.name]);
        AddMethods(page.sharedMethods, cls.sharedMethods, old[cls.name]);
        for (const std::string& event : cls.events)
            Add(page.events, simhost::ParseDeclaration(event).name).declarations.push_back({event});
        for (const std::string& constant : cls.constants) {
            auto [name, value] = simhost::SplitConstant(constant);
            Add(page.constants, name).value = value;
        }
        pages.push_back(std::move(page));
    }
    std::sort(pages.begin(), pages.end(), [](const ClassPage& a, const ClassPage& b) { return a.name < b.name; });
    return pages;
}

// The description table, checked both ways against what the DLL registers.
class Descriptions {
public:
    Descriptions() {
        for (const Description& row : kDescriptions) {
            std::string classes = row.cls;
            for (size_t start = 0, end; start < classes.size(); start = end + 1) {
                end = std::min(classes.find(' ', start), classes.size());
                std::string key = classes.substr(start, end - start) + "." + row.member;
                if (!rows_.emplace(key, row.text).second) Fail("described twice: " + key);
            }
        }
    }

    std::string Of(const ClassPage& page, const Member& member) {
        std::string key = page.name + "." + member.name;
        auto exact = rows_.find(key);
        if (exact != rows_.end()) {
            used_.insert(key);
            return exact->second;
        }
        // A property constant: its family's row names what kind of property it is, its pair gives the rest.
        for (const auto& [family, noun] : rows_) {
            if (family.back() != '*' || family.compare(0, family.size() - 1, key, 0, family.size() - 1) != 0) continue;
            used_.insert(family);
            // An id constant has a name constant called like it plus "String" (even when its own name ends so).
            if (const Member* name = FindConstant(page, member.name + "String"))
                return "Id of the " + noun + " " + name->value + ".";
            size_t stem = member.name.size() - std::min<size_t>(member.name.size(), 6);
            if (member.name.compare(stem, std::string::npos, "String") != 0) break;
            if (const Member* id = FindConstant(page, member.name.substr(0, stem)))
                return "Name of the " + noun + " `" + id->name + "` (" + id->value + "), for the by-name methods.";
            break;
        }
        Fail("no description for " + key);
        return {};
    }

    void CheckAllUsed() {
        for (const auto& row : rows_)
            if (used_.count(row.first) == 0) Fail("described but not registered: " + row.first);
    }

    int failures = 0;

private:
    const Member* FindConstant(const ClassPage& page, const std::string& name) const {
        for (const Member& constant : page.constants)
            if (constant.name == name) return &constant;
        return nullptr;
    }
    void Fail(const std::string& message) {
        std::fprintf(stderr, "reference: %s\n", message.c_str());
        ++failures;
    }

    std::map<std::string, std::string> rows_;
    std::set<std::string> used_;
};

// What marks an overload only a 2021.03 host registers, on its line and in the index's explanation.
const std::string kNewHostOnly = "needs Xojo 2021.03 or later";

void MemberTable(std::string& out, const char* title, const char* second, const ClassPage& page,
                 const std::vector<Member>& members, Descriptions& text, bool constants) {
    if (members.empty()) return;
    out += std::string("\n## ") + title + "\n\n| Name | " + second + " | Description |\n|---|---|---|\n";
    for (const Member& member : members) {
        std::string detail = constants ? "`" + member.value + "`" : member.type;
        out += "| `" + member.name + "` | " + detail + " | " + text.Of(page, member) + " |\n";
    }
}

void MemberList(std::string& out, const char* title, const ClassPage& page, const std::vector<Member>& members,
                Descriptions& text) {
    if (members.empty()) return;
    out += std::string("\n## ") + title + "\n";
    for (const Member& member : members) {
        out += "\n### " + member.name + "\n\n";
        for (const Declaration& declaration : member.declarations) {
            out += "- `" + declaration.text + "`";
            if (declaration.assignable) out += " (also assignable)";
            if (declaration.newHostOnly) out += " — " + kNewHostOnly;
            out += "\n";
        }
        out += "\n" + text.Of(page, member) + "\n";
    }
}

std::string ClassMarkdown(const ClassPage& page, Descriptions& text) {
    std::string out = "# " + page.name + "\n\n" + text.Of(page, Member{}) + "\n";
    MemberTable(out, "Properties", "Type", page, page.properties, text, false);
    MemberTable(out, "Shared properties", "Type", page, page.sharedProperties, text, false);
    MemberList(out, "Methods", page, page.methods, text);
    MemberList(out, "Shared methods", page, page.sharedMethods, text);
    MemberList(out, "Events", page, page.events, text);
    MemberTable(out, "Constants", "Value", page, page.constants, text, true);
    out += "\n[Index](index.md)\n";
    return out;
}

std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string text(std::istreambuf_iterator<char>(in), {});
    if (!in.is_open() || in.bad()) throw std::runtime_error("cannot read " + path.string());
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

// The level of a Markdown heading ("## Title" is 2), 0 for any other line.
size_t HeadingLevel(const std::string& line) {
    size_t level = line.find_first_not_of('#');
    if (level == std::string::npos) level = line.size();
    return level > 0 && (level == line.size() || line[level] == ' ') ? level : 0;
}

// The lines of a text without their ends (no empty line after a final '\n').
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    for (size_t start = 0; start < text.size();) {
        size_t end = std::min(text.find('\n', start), text.size());
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

void WriteText(const std::filesystem::path& path, const std::string& text) {
    FILE* file = _wfopen(path.c_str(), L"wb");
    if (file == nullptr || std::fwrite(text.data(), 1, text.size(), file) != text.size() || std::fclose(file) != 0)
        throw std::runtime_error("cannot write " + path.string());
}

std::vector<std::string> Cells(const std::string& row);

// The guide's rows "| &h80210003 | -2145320957 | `kErrorPaperEmpty` ... |" against the module's constants: every
// negative constant and every positive result code (kFalse, kEndOfMedia) has a row, and each row's two values are
// the constant's. Returns the number of problems, each printed.
int CheckGuideCodes(const std::string& guide, const std::string& module) {
    std::map<std::string, long long> constants;
    const std::string tag = "#tag Constant, Name = ", value = "Default = \\\"";
    for (const std::string& line : Lines(module)) {
        size_t at = line.find(tag), valueAt = line.find(value);
        if (at == std::string::npos || valueAt == std::string::npos) continue;
        const size_t start = at + tag.size();
        constants[line.substr(start, line.find(',', start) - start)] = std::stoll(line.substr(valueAt + value.size()));
    }
    int problems = 0;
    std::set<std::string> listed;
    for (const std::string& line : Lines(guide)) {
        std::vector<std::string> cells =
            line.rfind("| &h", 0) == 0 || line.rfind("| -", 0) == 0 ? Cells(line) : std::vector<std::string>{};
        if (cells.size() < 3 || cells[2].size() < 3 || cells[2][0] != '`') continue;
        const std::string name = cells[2].substr(1, cells[2].find('`', 1) - 1);
        auto constant = constants.find(name);
        char hex[24];
        std::snprintf(hex, sizeof hex, "&h%08llX",
                      constant == constants.end() ? 0ull : static_cast<unsigned long long>(constant->second) & 0xFFFFFFFFull);
        if (constant == constants.end()) {
            std::fprintf(stderr, "reference: the guide lists %s, which WIAConstants does not have\n", name.c_str());
            ++problems;
        } else if (cells[1] != std::to_string(constant->second) || (constant->second != -1 && cells[0] != hex)) {
            std::fprintf(stderr, "reference: the guide gives %s as %s %s; WIAConstants has %s %lld\n", name.c_str(),
                         cells[0].c_str(), cells[1].c_str(), hex, constant->second);
            ++problems;
        }
        listed.insert(name);
    }
    for (const auto& [name, number] : constants) {
        const bool code = number < 0 || name == "kFalse" || name == "kEndOfMedia" || name == "kSuccess";
        if (code && listed.count(name) == 0) {
            std::fprintf(stderr, "reference: the guide's table of result codes has no row for %s\n", name.c_str());
            ++problems;
        }
    }
    return problems;
}

std::string IndexMarkdown(const std::vector<ClassPage>& pages, Descriptions& text, const std::string& conventions) {
    std::string out =
        "# WIAZVK " WIAZVK_VERSION
        " class reference\n\n"
        "Generated from the classes WIAZVK.dll registers with the host: every property, method, event, "
        "shared member and constant, with exact declarations. Overloads marked \"" +
        kNewHostOnly +
        "\" are not registered on older hosts. To scan a page, run a feeder batch or find out what a "
        "`Lasterror` value means, start with the [guide](../GUIDE.md).\n\n## Classes\n\n| Class | Description |\n|---|---|\n";
    for (const ClassPage& page : pages)
        out += "| [" + page.name + "](" + page.name + ".md) | " + text.Of(page, Member{}) + " |\n";
    out += "\n" + conventions;
    return out;
}

// HTML from the Markdown this tool writes: headings, paragraphs, lists, tables, fenced code, inline code,
// bold and links between the pages (which become anchors).
std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string Inline(const std::string& text) {
    std::string out;
    bool bold = false;
    for (size_t i = 0; i < text.size();) {
        // A link "[text](target)": a '[' with no "](" and ')' after it is plain text.
        size_t mid = text[i] == '[' ? text.find("](", i) : std::string::npos;
        size_t close = mid == std::string::npos ? mid : text.find(')', mid);
        if (text[i] == '`') {
            size_t end = text.find('`', i + 1);
            if (end == std::string::npos) end = text.size();
            out += "<code>" + Escape(text.substr(i + 1, end - i - 1)) + "</code>";
            i = end + 1;
        } else if (text.compare(i, 2, "**") == 0) {
            out += bold ? "</strong>" : "<strong>";
            bold = !bold;
            i += 2;
        } else if (close != std::string::npos) {
            // A link to another page becomes the anchor of that page's section: "../GUIDE.md" and "reference/X.md" too.
            std::string target = text.substr(mid + 2, close - mid - 2);
            if (target.size() > 3 && target.compare(target.size() - 3, 3, ".md") == 0) target.resize(target.size() - 3);
            target = target.substr(target.find_last_of('/') + 1);
            out += "<a href=\"#" + Escape(target) + "\">" + Inline(text.substr(i + 1, mid - i - 1)) + "</a>";
            i = close + 1;
        } else {
            out += Escape(std::string(1, text[i]));
            ++i;
        }
    }
    return out;
}

std::vector<std::string> Cells(const std::string& row) {
    std::vector<std::string> cells;
    size_t start = row.find('|') + 1;
    for (size_t end; (end = row.find('|', start)) != std::string::npos; start = end + 1) {
        std::string cell = row.substr(start, end - start);
        cell.erase(0, cell.find_first_not_of(' '));
        cell.erase(cell.find_last_not_of(' ') + 1);
        cells.push_back(cell);
    }
    return cells;
}

// Where the text of an item "1. text" starts; 0 for any other line.
size_t OrderedItem(const std::string& line) {
    size_t digits = line.find_first_not_of("0123456789");
    return digits > 0 && digits != std::string::npos && line.compare(digits, 2, ". ") == 0 ? digits + 2 : 0;
}

std::string Html(const std::string& markdown, const std::string& anchor) {
    const std::vector<std::string> lines = Lines(markdown);
    std::string out, paragraph;
    auto flush = [&] {
        if (!paragraph.empty()) out += "<p>" + Inline(paragraph) + "</p>\n";
        paragraph.clear();
    };
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.empty()) {
            flush();
        } else if (line.rfind("```", 0) == 0) {
            flush();
            out += "<pre>";
            while (++i < lines.size() && lines[i].rfind("```", 0) != 0) out += Escape(lines[i]) + "\n";
            out += "</pre>\n";
        } else if (size_t level = HeadingLevel(line); level > 0) {
            flush();
            std::string tag = "h" + std::to_string(level);
            std::string id = level == 1 ? " id=\"" + anchor + "\"" : "";
            out += "<" + tag + id + ">" + Inline(line.substr(std::min(level + 1, line.size()))) + "</" + tag + ">\n";
        } else if (line.rfind("- ", 0) == 0) {
            flush();
            out += "<ul>\n";
            while (i < lines.size() && lines[i].rfind("- ", 0) == 0) {
                std::string item = lines[i].substr(2);
                while (i + 1 < lines.size() && lines[i + 1].rfind("  ", 0) == 0) item += " " + lines[++i].substr(2);
                out += "<li>" + Inline(item) + "</li>\n";
                ++i;
            }
            --i;
            out += "</ul>\n";
        } else if (OrderedItem(line) > 0) {
            flush();
            out += "<ol>\n";
            while (i < lines.size() && OrderedItem(lines[i]) > 0) {
                std::string item = lines[i].substr(OrderedItem(lines[i]));
                while (i + 1 < lines.size() && lines[i + 1].rfind("   ", 0) == 0) item += " " + lines[++i].substr(3);
                out += "<li>" + Inline(item) + "</li>\n";
                ++i;
            }
            --i;
            out += "</ol>\n";
        } else if (line[0] == '|') {
            flush();
            out += "<table>\n<tr>";
            for (const std::string& cell : Cells(line)) out += "<th>" + Inline(cell) + "</th>";
            out += "</tr>\n";
            ++i;  // the separator row
            while (i + 1 < lines.size() && lines[i + 1].rfind("|", 0) == 0) {
                out += "<tr>";
                for (const std::string& cell : Cells(lines[++i])) out += "<td>" + Inline(cell) + "</td>";
                out += "</tr>\n";
            }
            out += "</table>\n";
        } else {
            paragraph += paragraph.empty() ? line : " " + line;
        }
    }
    flush();
    return out;
}

const char kStyle[] =
    "body{font-family:sans-serif;max-width:60em;margin:auto;padding:1em;line-height:1.4}"
    "code,pre{font-family:monospace;background:#f4f4f4}pre{padding:.5em;overflow-x:auto}"
    "table{border-collapse:collapse;margin:.5em 0}th,td{border:1px solid #ccc;padding:.2em .5em;text-align:left;"
    "vertical-align:top}h1{border-top:2px solid #888;padding-top:.5em}nav li{display:inline;margin-right:1em}";

std::string HtmlDocument(const std::string& guide, const std::string& index,
                         const std::vector<std::pair<std::string, std::string>>& classes) {
    std::string out = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>WIAZVK " WIAZVK_VERSION
                      " class reference</title>\n<style>";
    out +=
        std::string(kStyle) +
        "</style>\n</head>\n<body>\n<nav>\n<ul>\n<li><a href=\"#GUIDE\">Guide</a></li>\n<li><a href=\"#index\">Index</a></li>\n";
    for (const auto& page : classes) out += "<li><a href=\"#" + page.first + "\">" + page.first + "</a></li>\n";
    out += "</ul>\n</nav>\n" + Html(guide, "GUIDE") + Html(index, "index");
    for (const auto& page : classes) out += Html(page.second, page.first);
    return out + "</body>\n</html>\n";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: wiazvk_reference <Conventions.md> <docs folder> <output folder> [WIAZVK.dll]\n");
        return 2;
    }
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int status = 0;
    try {
        const char* dll = argc > 4 ? argv[4] : "WIAZVK.dll";
        std::vector<ClassPage> pages = ReadClasses(dll);
        Descriptions text;
        std::filesystem::path out(argv[3]);
        std::filesystem::create_directories(out);
        std::vector<std::pair<std::string, std::string>> classes;
        for (const ClassPage& page : pages) classes.emplace_back(page.name, ClassMarkdown(page, text));
        std::string index = IndexMarkdown(pages, text, ReadText(argv[1]));
        const std::filesystem::path docs(argv[2]);
        const std::string guide = ReadText(docs / "GUIDE.md");
        text.CheckAllUsed();
        text.failures += CheckGuideCodes(guide, ReadText(docs.parent_path() / "examples" / "WIAConstants.xojo_code"));
        if (text.failures != 0) {
            std::fprintf(stderr, "reference: %d description problems; nothing written\n", text.failures);
            status = 1;
        } else {
            WriteText(out / "index.md", index);
            for (const auto& page : classes) WriteText(out / (page.first + ".md"), page.second);
            WriteText(out / "WIAZVK-reference.html", HtmlDocument(guide, index, classes));
            std::printf("reference: %zu classes written to %s\n", pages.size(), argv[3]);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "reference failed: %s\n", error.what());
        status = 1;
    }
    CoUninitialize();
    return status;
}
