// The Xojo source of the examples in one model: project items (classes, windows, modules) with their properties,
// controls, constants and code. Two readers fill it: the paste-in examples, whose parts are headed
// "// ---- <where it goes> ----", and Xojo's text project format (a .xojo_project listing .xojo_code, .xojo_window
// and .xojo_menu files). The project generator writes the second from the first, so one source gives both.
// Plain C++ with no Windows or host dependency: the checker and the generator share it.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace xojo {

std::string Lower(std::string text);
std::string Trim(const std::string& text);

// A finding, reported as "file:line: text".
struct Problem {
    std::string file;
    int line = 0;
    std::string text;
};
using Problems = std::vector<Problem>;

// One statement of code: the line it starts on and its text with the comment removed, lines ending in " _" joined.
// String literals are kept as written.
struct Statement {
    int line = 0, last = 0;  // its first and last source line
    std::string text;
};

// "Name As Type" (an array: "Name() As Type", kept as the type "Type()").
struct Declared {
    std::string name, type;
    int line = 0;
};

// A control on a window: its name and type, and the properties given with it, values as written ("\"Scan\"", "False").
struct Control : Declared {
    std::vector<std::pair<std::string, std::string>> properties;
};

struct Constant {
    std::string name, type, value;  // type as the text format names it: Double (a number), String, Boolean
    int line = 0;
};

// A method or event handler: its declaration line ("Function Name(params) As Type", "Sub Name()"), and its body,
// both as written lines (for the generator) and as statements (for the checker).
struct Method {
    enum class Kind { Method, Event, ControlEvent };
    Kind kind = Kind::Method;
    std::string control;             // a ControlEvent's control
    std::string scope;               // "Public", "Protected" or "Private"
    std::string declaration;         // without the scope word, continuation lines joined
    int line = 0;                    // the declaration's line
    std::vector<std::string> lines;  // the body as written, without the declaration and the End line
    std::vector<Statement> body;
    std::string name, result;  // from the declaration; result "" for a Sub
    std::vector<Declared> params;
};

struct Item {
    enum class Kind { Class, Window, Module, MenuBar };
    Kind kind = Kind::Class;
    std::string name, super;  // a window's super is "DesktopWindow"; a module has none
    std::string file;
    int line = 0;
    std::vector<Declared> properties;
    std::vector<Control> controls;
    std::vector<Constant> constants;
    std::vector<Method> methods;
    std::vector<std::string> note;  // a module's note, line by line
};

// Comment removal and line joining over numbered lines.
std::vector<Statement> Statements(const std::vector<std::pair<int, std::string>>& lines);
// Fills name, result and params from a declaration; false when it is not "Function ..." or "Sub ...".
bool ParseMethodDeclaration(Method& method);

// A paste-in example: its items in the order their parts come. Problems: headers it does not understand, code
// outside a method, a method without its End.
std::vector<Item> ReadExample(const std::filesystem::path& path, Problems& problems);

// One project item in the text format (#tag Class, #tag Module, #tag DesktopWindow, #tag Menu).
Item ReadItemFile(const std::filesystem::path& path, Problems& problems);

// A .xojo_project: its settings and item entries, and the items read from the files it lists.
struct ProjectEntry {
    std::string kind, name, path, id, parent;
    int line = 0;
};
struct Project {
    std::filesystem::path file;
    std::vector<std::pair<std::string, std::string>> settings;
    std::vector<ProjectEntry> entries;
    std::vector<Item> items;
    std::string Setting(const std::string& key) const;
};
// Checks the list itself (files present, ids unique, parents known, default window and menu bar listed).
Project ReadProject(const std::filesystem::path& path, Problems& problems);

}  // namespace xojo
