// Checks the examples' Xojo code against what the plug-in registers in the simulated host, with the types Xojo
// gives every expression:
// - names: each WIA…ZVK class is registered, each member used on a plug-in class (or on a script subclass of one, or on
//   the WIAConstants module) exists, shared members go on the class and instance members on an object, events are
//   handled in a subclass and never called, assigned properties have a setter;
// - calls: the arguments' types against every registered form (strings, integer-like numbers, Booleans, plug-in and
//   script classes, FolderItem, MemoryBlock, Picture, window and DesktopWindow, Nil), the declared type the result
//   goes to, and calls whose forms Xojo cannot tell apart (two forms fitting equally, or forms that differ only in
//   their result with nothing to choose one);
// - types: the variables declared with Var or Dim, the parameters of the method the code is in, the properties and
//   controls of the part headers, constants of the module and the plug-in classes; "+" of a string and a number,
//   Return values against the method's result, assignments against their target;
// - structure: event handlers match the registered event (or the Xojo control's event), every control an event or the
//   code names exists on its window, and every name is declared.
// Prints "file:line: problem" for each finding.
//
//   wiazvk_check_examples.exe <examples folder> [WIAZVK.dll]
//       the paste-in examples, with the module from the same folder
//   wiazvk_check_examples.exe --projects <folder> [WIAZVK.dll]
//       every .xojo_project below the folder: its list of files, ids and parents, and its code
//   wiazvk_check_examples.exe --broken <snippets folder> <examples folder> [WIAZVK.dll]
//       each snippet holds one line marked "// broken": it must be reported, and nothing else
// Run under Wine in the folder of WIAZVK.dll. Exit code 1 when a check fails.
#include <objbase.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "tests/host/SimHost.h"
#include "tools/examples/XojoSource.h"

namespace {

using xojo::Lower;
using xojo::Trim;

// A type as Xojo names it, lower case: "integer", "string", "wiaitemzvk", "string()" for an array; "" when the
// checker cannot tell (an unknown value fits everywhere), "nil" for Nil, "number" for a numeric constant, "void" for
// the result of a Sub.
using Type = std::string;

bool IsNumeric(const Type& type) {
    static const std::set<Type> numeric = {"integer", "int8",   "int16", "int32",  "int64",  "uint8",    "uint16",
                                           "uint32",  "uint64", "byte",  "single", "double", "currency", "number"};
    return numeric.count(type) != 0;
}
bool IsArray(const Type& type) {
    return type.size() > 2 && type.compare(type.size() - 2, 2, "()") == 0;
}
bool IsValueType(const Type& type) {
    return IsNumeric(type) || type == "string" || type == "text" || type == "boolean" || type == "color" || type == "variant" ||
           type == "ptr" || type == "nil" || type == "void" || type.empty() || IsArray(type);
}

// ---------------------------------------------------------------------------------------------------------------------
// What the checker knows of Xojo's own classes: the members and events the examples use, by declaration. A class
// marked complete reports a member it does not list; the others let an unknown member through with an unknown type.
// Rows: "p Name as T" property, "r Name as T" read-only property, "m Decl" method, "a Decl" method that can also be
// assigned, "s Decl" shared method, "S Name as T" shared property, "c Name as T" shared constant, "e Decl" event.
struct BuiltinClass {
    const char* name;
    const char* super;
    std::vector<const char*> rows;
};

const BuiltinClass kBuiltins[] = {
    {"Object", "", {}},
    {"String",
     "",
     {"r Length as integer", "m Right(count as integer) as string", "m Left(count as integer) as string",
      "m Middle(start as integer, length as integer = -1) as string", "m Trim as string", "m Uppercase as string",
      "m Lowercase as string", "m IndexOf(other as string) as integer", "m ToInteger as integer", "m ToDouble as double",
      "r Bytes as integer", "m Replace(old as string, new as string) as string",
      "m ReplaceAll(old as string, new as string) as string", "m Contains(other as string) as boolean",
      "m BeginsWith(other as string) as boolean", "m EndsWith(other as string) as boolean",
      "m NthField(separator as string, index as integer) as string", "m CountFields(separator as string) as integer"}},
    {"Number", "", {"m ToString as string"}},
    {"Boolean", "", {"m ToString as string"}},
    {"Global",
     "",
     {"m MessageBox(message as string)", "m Hex(value as integer) as string", "m Str(value as double) as string",
      "m Val(text as string) as double", "m Max(a as double, b as double) as double", "m Min(a as double, b as double) as double",
      "m Abs(value as double) as double", "m Round(value as double) as double", "m Floor(value as double) as double",
      "m Ceiling(value as double) as double", "m Quit", "m Beep", "r EndOfLine as string"}},
    {"System", "", {"s DebugLog(message as string)", "S Ticks as integer", "S Microseconds as double"}},
    {"Timer", "Object", {}},
    {"Keyboard", "", {"s AsyncKeyDown(key as integer) as boolean"}},
    {"Bitwise",
     "",
     {"s ShiftLeft(value as integer, count as integer) as integer", "s ShiftRight(value as integer, count as integer) as integer",
      "s BitAnd(a as integer, b as integer) as integer", "s BitOr(a as integer, b as integer) as integer"}},
    {"SpecialFolder",
     "",
     {"S Documents as FolderItem", "S Pictures as FolderItem", "S Desktop as FolderItem", "S Temporary as FolderItem",
      "S ApplicationData as FolderItem", "S Movies as FolderItem", "S UserHome as FolderItem"}},
    {"FolderItem",
     "Object",
     {"m Child(name as string) as FolderItem", "r Exists as boolean", "r NativePath as string", "m CreateFolder",
      "p Name as string", "r Parent as FolderItem", "r IsFolder as boolean", "m Remove", "r Length as integer",
      "m Constructor(path as string, mode as integer = 0)"}},
    {"MemoryBlock",
     "Object",
     {"m Constructor(size as integer)", "p Size as integer", "p LittleEndian as boolean",
      "a StringValue(offset as integer, length as integer) as string", "a Int32Value(offset as integer) as integer",
      "a UInt32Value(offset as integer) as integer", "a Int16Value(offset as integer) as integer",
      "a UInt16Value(offset as integer) as integer", "a UInt8Value(offset as integer) as integer",
      "a Int64Value(offset as integer) as integer"}},
    {"Picture",
     "Object",
     {"s FromData(data as MemoryBlock) as Picture", "s Open(file as FolderItem) as Picture", "r Width as integer",
      "r Height as integer", "m Save(file as FolderItem, format as integer)"}},
    {"Variant",
     "",
     {"r IsNull as boolean", "r StringValue as string", "r IntegerValue as integer", "r DoubleValue as double",
      "r BooleanValue as boolean", "r ObjectValue as Object", "r Type as integer", "c TypeObject as integer",
      "c TypeString as integer", "c TypeInteger as integer", "c TypeNil as integer"}},
    {"RuntimeException", "Object", {"r Message as string", "r ErrorNumber as integer"}},
    {"UnsupportedFormatException", "RuntimeException", {}},
    {"NilObjectException", "RuntimeException", {}},
    {"OutOfBoundsException", "RuntimeException", {}},
    {"DesktopApplication", "Object", {"e Opening()", "e Closing()"}},
    {"Window", "Object", {"m Show", "m Close", "r Handle as integer", "p Title as string"}},
    {"DesktopWindow",
     "Object",
     {"m Show", "m Close", "m Hide", "r Handle as integer", "p Title as string", "p Width as integer", "p Height as integer",
      "p Visible as boolean", "e Opening()", "e Closing()", "e Resized()", "e Resizing()", "e Moved()", "e Activated()",
      "e Deactivated()", "e CancelClosing(appQuitting as boolean) as boolean"}},
    {"DesktopControl",
     "Object",
     {"p Enabled as boolean", "p Visible as boolean", "r Name as string", "p Left as integer", "p Top as integer",
      "p Width as integer", "p Height as integer", "m Refresh(immediately as boolean = false)", "e Opening()", "e Closing()"}},
    {"DesktopUIControl",
     "DesktopControl",
     {"p Tooltip as string", "m SetFocus", "e MouseEnter()", "e MouseExit()", "e FocusReceived()", "e FocusLost()",
      "e MouseDown(x as integer, y as integer) as boolean", "e MouseUp(x as integer, y as integer)"}},
    {"DesktopButton", "DesktopUIControl", {"p Caption as string", "p Default as boolean", "p Cancel as boolean", "e Pressed()"}},
    {"DesktopCheckBox",
     "DesktopUIControl",
     {"p Caption as string", "p Value as boolean", "p VisualState as integer", "e ValueChanged()"}},
    {"DesktopLabel", "DesktopUIControl", {"p Text as string", "p Multiline as boolean"}},
    {"DesktopTextArea",
     "DesktopUIControl",
     {"p Text as string", "m AddText(text as string)", "p ReadOnly as boolean", "e TextChanged()", "e SelectionChanged()"}},
    {"DesktopProgressBar", "DesktopUIControl", {"p Value as double", "p MaximumValue as integer", "p Indeterminate as boolean"}},
    {"DesktopImageViewer", "DesktopUIControl", {"p Image as Picture"}},
};

// Words that are never names.
const std::set<std::string> kKeywords = {
    "and",           "or",     "not",   "xor",      "mod",  "is",     "isa",      "new",   "nil",   "true",
    "false",         "me",     "self",  "super",    "then", "else",   "elseif",   "end",   "if",    "while",
    "wend",          "for",    "each",  "in",       "to",   "downto", "step",     "next",  "do",    "loop",
    "until",         "select", "case",  "return",   "var",  "dim",    "as",       "const", "try",   "catch",
    "finally",       "raise",  "exit",  "continue", "call", "sub",    "function", "byref", "byval", "addressof",
    "weakaddressof", "static", "break", "redim"};

// ---------------------------------------------------------------------------------------------------------------------
// Members of any class the checker knows, in one shape.

struct Form {
    std::string declaration;  // as registered or written, for messages
    std::vector<Type> params;
    std::vector<bool> optional;
    Type result = "void";
    bool setter = false;  // can also be assigned: "x.Name(args) = value"
    bool shared = false;
};

struct Member {
    enum class Kind { None, Property, Methods, Constant, Event, Control };
    Kind kind = Kind::None;
    std::string where;  // "Class.Member", for messages
    Type type;          // a property's, constant's or control's type
    bool writable = true, shared = false, plugin = false;
    std::vector<Form> forms;
};

Form FormOf(const std::string& declaration, bool setter, bool shared) {
    simhost::Signature signature = simhost::ParseDeclaration(declaration);
    Form form;
    form.declaration = declaration;
    for (const simhost::Param& param : signature.params) {
        bool array = param.name.size() > 2 && param.name.compare(param.name.size() - 2, 2, "()") == 0;
        form.params.push_back(Lower(param.typeName) + (array ? "()" : ""));
        form.optional.push_back(param.hasDefault);
    }
    form.result = signature.resultName.empty() ? "void" : Lower(signature.resultName);
    form.setter = setter;
    form.shared = shared;
    return form;
}

// A class, window or module the checker knows: from the plug-in, the example's own items, or Xojo's table.
struct ClassInfo {
    std::string name;
    Type super;  // lower case, "" at the top
    const simhost::ClassView* plugin = nullptr;
    const xojo::Item* item = nullptr;
    const BuiltinClass* builtin = nullptr;
    bool complete = false;  // an unknown member is a problem
};

struct Value {
    Type type;
    const ClassInfo* classRef = nullptr;  // the name of a class or module, not a value of it
};

// ---------------------------------------------------------------------------------------------------------------------
// Tokens of one statement.

struct Token {
    enum class Kind { Name, Number, String, Symbol, End };
    Kind kind = Kind::End;
    std::string text;
    bool Is(const char* word) const { return (kind == Kind::Name || kind == Kind::Symbol) && Lower(text) == word; }
};

std::vector<Token> Tokenize(const std::string& text) {
    std::vector<Token> tokens;
    for (size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (c == ' ') {
            ++i;
        } else if (c == '"') {
            size_t end = i + 1;
            while (end < text.size() && !(text[end] == '"' && (end + 1 >= text.size() || text[end + 1] != '"')))
                end += text[end] == '"' ? 2 : 1;
            tokens.push_back({Token::Kind::String, text.substr(i, end + 1 - i)});
            i = end + 1;
        } else if (std::isdigit(static_cast<unsigned char>(c)) ||
                   (c == '&' && i + 1 < text.size() && std::isalpha(text[i + 1])) ||
                   (c == '.' && i + 1 < text.size() && std::isdigit(static_cast<unsigned char>(text[i + 1])))) {
            size_t end = i + 1;
            while (end < text.size() && (std::isalnum(static_cast<unsigned char>(text[end])) || text[end] == '.')) ++end;
            tokens.push_back({Token::Kind::Number, text.substr(i, end - i)});
            i = end;
        } else if (std::isalpha(static_cast<unsigned char>(c)) || c == '_' || c == '#') {
            size_t end = i + 1;
            while (end < text.size() && (std::isalnum(static_cast<unsigned char>(text[end])) || text[end] == '_')) ++end;
            tokens.push_back({Token::Kind::Name, text.substr(i, end - i)});
            i = end;
        } else {
            std::string symbol(1, c);
            if (i + 1 < text.size() &&
                (text.compare(i, 2, "<>") == 0 || text.compare(i, 2, "<=") == 0 || text.compare(i, 2, ">=") == 0))
                symbol = text.substr(i, 2);
            tokens.push_back({Token::Kind::Symbol, symbol});
            i += symbol.size();
        }
    }
    tokens.push_back({Token::Kind::End, ""});
    return tokens;
}

// ---------------------------------------------------------------------------------------------------------------------

class Checker {
public:
    explicit Checker(const std::vector<simhost::ClassView>& plugin) {
        for (const BuiltinClass& builtin : kBuiltins) {
            ClassInfo info{builtin.name, Lower(builtin.super), nullptr, nullptr, &builtin, false};
            builtins_[Lower(builtin.name)] = info;
        }
        for (const simhost::ClassView& cls : plugin) {
            ClassInfo info{cls.name, "object", &cls, nullptr, nullptr, true};
            plugin_[Lower(cls.name)] = info;
        }
    }

    void AddModule(const xojo::Item& module) { modules_.push_back(module); }

    // One program: the items of an example or a project, checked together with the modules added before (whose own
    // code is checked when `checkModules` is set).
    void CheckProgram(const std::vector<xojo::Item>& items, bool checkModules) {
        program_.clear();
        for (const xojo::Item& module : modules_) AddItem(module);
        for (const xojo::Item& item : items) {
            if (item.kind == xojo::Item::Kind::MenuBar) continue;
            if (program_.count(Lower(item.name)) != 0 && item.kind != xojo::Item::Kind::Module)
                Report(item.file, item.line, item.name + " is defined twice");
            AddItem(item);
        }
        for (auto& [name, info] : program_) {
            const xojo::Item& item = *info.item;
            if (!checkModules && std::any_of(modules_.begin(), modules_.end(), [&](const xojo::Item& m) { return &m == &item; }))
                continue;
            file_ = item.file;
            if (item.kind == xojo::Item::Kind::Class && Find(Lower(item.super)) == nullptr)
                Report(file_, item.line, "the Super " + item.super + " is not a registered class");
            for (const xojo::Control& control : item.controls) {
                const ClassInfo* type = Find(Lower(control.type));
                if (type == nullptr || !Inherits(Lower(control.type), "desktopcontrol"))
                    Report(file_, control.line, control.type + " is not a control type the checker knows");
            }
            for (const xojo::Method& method : item.methods) CheckMethod(info, method);
        }
    }

    void Report(const std::string& file, int line, const std::string& problem) {
        std::printf("%s:%d: %s\n", file.c_str(), line, problem.c_str());
        reported.push_back({file, line, problem});
    }

    int uses = 0;
    xojo::Problems reported;

private:
    void AddItem(const xojo::Item& item) {
        ClassInfo info;
        info.name = item.name;
        info.item = &item;
        info.super = item.kind == xojo::Item::Kind::Module ? "" : Lower(item.super);
        info.complete = item.kind == xojo::Item::Kind::Module ||
                        (item.kind == xojo::Item::Kind::Class && plugin_.count(Lower(item.super)) != 0);
        program_[Lower(item.name)] = info;
    }

    const ClassInfo* Find(const Type& name) const {
        for (const auto* table : {&program_, &plugin_, &builtins_}) {
            auto it = table->find(name);
            if (it != table->end()) return &it->second;
        }
        return nullptr;
    }

    // A type as Xojo writes it: "Integer", "WIAItemZVK", "FolderItem()".
    std::string Shown(const Type& type) const {
        if (type.empty()) return "an unknown type";
        if (type == "number") return "a number";
        if (IsArray(type)) return Shown(type.substr(0, type.size() - 2)) + "()";
        if (const ClassInfo* cls = Find(type)) return cls->name;
        std::string shown = type;
        shown[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(shown[0])));
        for (const char* name : {"UInt64", "UInt32", "UInt16", "UInt8", "Int64", "Int32", "Int16", "Int8", "DesktopWindow"})
            if (Lower(name) == type) shown = name;
        return shown;
    }

    bool Inherits(Type type, const Type& base) const {
        for (int depth = 0; depth < 32 && !type.empty(); ++depth) {
            if (type == base) return true;
            const ClassInfo* info = Find(type);
            if (info == nullptr) return false;
            type = info->super;
        }
        return base == "object";
    }

    // How well a value of type `from` fits where `to` is wanted: 0 not at all, 1 by a conversion (Variant, String and
    // MemoryBlock), 2 by widening (numbers, a subclass, Nil), 3 exactly. Unknown types fit at 3.
    int Fit(const Type& from, const Type& to) const {
        if (from.empty() || to.empty() || from == to) return 3;
        if (to == "variant" || from == "variant") return IsArray(from) || IsArray(to) ? 0 : 1;
        if (IsArray(from) || IsArray(to)) return 0;
        if (IsNumeric(from) && IsNumeric(to)) return from == "number" && (to == "integer" || to == "int64") ? 3 : 2;
        if ((from == "string" && to == "text") || (from == "text" && to == "string")) return 2;
        if ((from == "string" && to == "memoryblock") || (from == "memoryblock" && to == "string")) return 1;
        if (from == "nil") return IsValueType(to) && to != "ptr" ? 0 : 2;
        if (!IsValueType(from) && !IsValueType(to) && Inherits(from, to)) return 2;
        return 0;
    }

    // ---- members ----

    Member MemberOf(const ClassInfo& cls, const std::string& name, bool sharedUse) {
        const std::string key = Lower(name);
        Member member;
        member.where = cls.name + "." + name;
        if (cls.plugin != nullptr) {
            const simhost::ClassView& view = *cls.plugin;
            member.plugin = true;
            for (bool shared : {false, true}) {
                for (const auto& property : shared ? view.sharedProperties : view.properties) {
                    if (Lower(property.name) != key) continue;
                    member.kind = Member::Kind::Property;
                    member.type = Lower(property.type);
                    member.writable = property.setter != nullptr;
                    member.shared = shared;
                    return member;
                }
                for (const auto& method : shared ? view.sharedMethods : view.methods) {
                    if (Lower(method.signature.name) != key) continue;
                    member.kind = Member::Kind::Methods;
                    member.shared = shared;
                    member.forms.push_back(FormOf(method.declaration, method.setter != nullptr, shared));
                }
                if (member.kind != Member::Kind::None) return member;
            }
            for (const std::string& constant : view.constants) {
                auto [constantName, value] = simhost::SplitConstant(constant);
                if (Lower(constantName) != key) continue;
                member.kind = Member::Kind::Constant;
                member.shared = true;
                member.type = !value.empty() && value[0] == '"' ? "string" : "integer";
                return member;
            }
            for (const std::string& event : view.events) {
                if (Lower(simhost::ParseDeclaration(event).name) != key) continue;
                member.kind = Member::Kind::Event;
                member.forms.push_back(FormOf(event, false, false));
                return member;
            }
        } else if (cls.item != nullptr) {
            const xojo::Item& item = *cls.item;
            for (const xojo::Declared& property : item.properties) {
                if (Lower(property.name) != key) continue;
                member.kind = Member::Kind::Property;
                member.type = Lower(property.type);
                member.shared = item.kind == xojo::Item::Kind::Module;
                return member;
            }
            for (const xojo::Control& control : item.controls) {
                if (Lower(control.name) != key) continue;
                member.kind = Member::Kind::Control;
                member.type = Lower(control.type);
                member.writable = false;
                return member;
            }
            for (const xojo::Constant& constant : item.constants) {
                if (Lower(constant.name) != key) continue;
                member.kind = Member::Kind::Constant;
                member.shared = true;
                const std::string type = Lower(constant.type);
                member.type = type == "string" || type == "text" ? "string" : type == "boolean" ? "boolean" : "number";
                return member;
            }
            for (const xojo::Method& method : item.methods) {
                if (Lower(method.name) != key) continue;
                if (method.kind != xojo::Method::Kind::Method) {
                    if (item.kind == xojo::Item::Kind::Class) member.kind = Member::Kind::Event;
                    continue;
                }
                member.kind = Member::Kind::Methods;
                member.shared = item.kind == xojo::Item::Kind::Module;
                Form form;
                form.declaration = method.declaration;
                for (const xojo::Declared& param : method.params) {
                    form.params.push_back(Lower(param.type));
                    form.optional.push_back(false);
                }
                form.result = method.result.empty() ? "void" : Lower(method.result);
                form.shared = member.shared;
                member.forms.push_back(form);
            }
            if (member.kind == Member::Kind::Event) return member;  // a handler: the super's event, never a member
            if (member.kind != Member::Kind::None) return member;
        } else if (cls.builtin != nullptr) {
            for (const char* row : cls.builtin->rows) {
                const char kind = row[0];
                const std::string declaration = row + 2;
                simhost::Signature signature = simhost::ParseDeclaration(declaration);
                if (Lower(signature.name) != key) continue;
                if (kind == 'e') {
                    member.kind = Member::Kind::Event;
                    member.forms.push_back(FormOf(declaration, false, false));
                    return member;
                }
                if (kind == 'p' || kind == 'r' || kind == 'S' || kind == 'c') {
                    member.kind = kind == 'c' ? Member::Kind::Constant : Member::Kind::Property;
                    member.type = Lower(signature.resultName);
                    member.writable = kind == 'p';
                    member.shared = kind == 'S' || kind == 'c';
                    return member;
                }
                member.kind = Member::Kind::Methods;
                member.shared = kind == 's';
                member.forms.push_back(FormOf(declaration, kind == 'a', kind == 's'));
            }
            if (member.kind != Member::Kind::None) return member;
        }
        if (!cls.super.empty()) {
            if (const ClassInfo* super = Find(cls.super)) {
                Member inherited = MemberOf(*super, name, sharedUse);
                if (inherited.kind != Member::Kind::None) return inherited;
            }
        }
        (void)sharedUse;
        return member;
    }

    bool Complete(const ClassInfo& cls) const {
        if (cls.complete) return true;
        const ClassInfo* super = cls.super.empty() ? nullptr : Find(cls.super);
        return cls.item != nullptr && cls.item->kind == xojo::Item::Kind::Class && super != nullptr && super->plugin != nullptr;
    }

    // ---- one method ----

    struct Scope {
        const ClassInfo* owner = nullptr;
        const xojo::Method* method = nullptr;
        Type me, self;
        std::map<std::string, Type> locals;
    };

    void CheckMethod(const ClassInfo& owner, const xojo::Method& method) {
        Scope scope;
        scope.owner = &owner;
        scope.method = &method;
        scope.self = Lower(owner.name);
        scope.me = scope.self;
        const xojo::Item& item = *owner.item;
        line_ = method.line;
        for (const xojo::Declared& param : method.params) scope.locals[Lower(param.name)] = Lower(param.type);
        if (method.kind == xojo::Method::Kind::ControlEvent) {
            const xojo::Control* control = nullptr;
            for (const xojo::Control& candidate : item.controls)
                if (Lower(candidate.name) == Lower(method.control)) control = &candidate;
            if (control == nullptr) {
                Report(file_, method.line, method.control + " is not a control of " + item.name);
            } else {
                scope.me = Lower(control->type);
                CheckHandler(control->type, method);
            }
        } else if (method.kind == xojo::Method::Kind::Event) {
            CheckHandler(item.super, method);
        }
        scope_ = &scope;
        CheckBlock(method.body);
        scope_ = nullptr;
    }

    // A handler written for an event of `super`: the event exists and the declaration matches it.
    void CheckHandler(const std::string& super, const xojo::Method& method) {
        const ClassInfo* cls = Find(Lower(super));
        if (cls == nullptr) return;  // reported with the class
        Member event = MemberOf(*cls, method.name, false);
        if (event.kind != Member::Kind::Event) {
            Report(file_, method.line, method.name + " is not an event of " + super);
            return;
        }
        if (event.plugin) ++uses;
        const Form& registered = event.forms.front();
        bool same = registered.params.size() == method.params.size() &&
                    registered.result == (method.result.empty() ? "void" : Lower(method.result));
        for (size_t i = 0; same && i < method.params.size(); ++i) same = registered.params[i] == Lower(method.params[i].type);
        if (!same)
            Report(file_, method.line,
                   "handler " + method.name + " does not match the event " + super + "." + registered.declaration);
    }

    // ---- statements ----

    void CheckBlock(const std::vector<xojo::Statement>& body) {
        for (const xojo::Statement& statement : body) {
            line_ = statement.line;
            tokens_ = Tokenize(statement.text);
            pos_ = 0;
            Statement();
        }
    }

    const Token& Peek(size_t ahead = 0) const { return tokens_[std::min(pos_ + ahead, tokens_.size() - 1)]; }
    const Token& Take() {
        const Token& token = Peek();
        if (pos_ < tokens_.size() - 1) ++pos_;
        return token;
    }
    bool Accept(const char* word) {
        if (!Peek().Is(word)) return false;
        Take();
        return true;
    }
    bool AtEnd() const { return Peek().kind == Token::Kind::End; }
    // A token that starts an argument written without parentheses ("Download callback").
    static bool StartsArgument(const Token& token) {
        static const std::set<std::string> joining = {"then", "else",   "and",  "or", "xor", "mod",
                                                      "to",   "downto", "step", "is", "isa"};
        return token.kind == Token::Kind::String || token.kind == Token::Kind::Number ||
               (token.kind == Token::Kind::Name && joining.count(Lower(token.text)) == 0);
    }

    // "Name As [New] Type" after Var, Dim, For, Catch: the declared type.
    Type DeclaredType(bool* isNew, bool array = true) {
        *isNew = Accept("new");
        std::string type = Take().text;
        typeText_ = type;
        while (Peek().Is(".")) {
            Take();
            type += "." + Take().text;
        }
        if (array && Peek().Is("(") && Peek(1).Is(")")) {
            Take();
            Take();
            type += "()";
        }
        return Lower(type);
    }

    void Statement() {
        if (AtEnd()) return;
        const Token& first = Peek();
        const std::string word = Lower(first.text);
        if (first.kind == Token::Kind::Name && first.text[0] == '#') return;  // #If, #Pragma
        if (word == "var" || word == "dim" || word == "static") {
            Take();
            std::vector<std::string> names;
            do {
                names.push_back(Lower(Take().text));
                if (Peek().Is("(")) {  // an array: "a() As T" or "a(9) As T"
                    while (!AtEnd() && !Accept(")")) Take();
                    names.back() += "()";
                }
            } while (Accept(","));
            if (!Accept("as")) return Report(file_, line_, "a declaration needs \"As Type\"");
            bool isNew = false;
            Type type = DeclaredType(&isNew);
            for (std::string name : names) {
                bool array = name.size() > 2 && name.compare(name.size() - 2, 2, "()") == 0;
                if (array) name.resize(name.size() - 2);
                scope_->locals[name] = type + (array ? "()" : "");
            }
            CheckTypeName(type);
            if (IsArray(names.back())) type += "()";
            if (isNew) {
                std::vector<Type> args = Peek().Is("(") ? Arguments() : std::vector<Type>{};
                Construct(type, args);
            } else if (Accept("=")) {
                Type value = Expression(type);
                Assign(value, type, "a " + type + " variable");
            }
        } else if (word == "const") {
            Take();
            std::string name = Lower(Take().text);
            Type type;
            if (Accept("as")) {
                bool isNew = false;
                type = DeclaredType(&isNew);
            }
            if (!Accept("=")) return Report(file_, line_, "a constant needs \"= value\"");
            Type value = Expression(type);
            scope_->locals[name] = type.empty() ? value : type;
        } else if (word == "if" || word == "elseif" || word == "while" || word == "until") {
            Take();
            Condition();
            if (Accept("then") && !AtEnd()) SingleLineIf();
        } else if (word == "loop") {
            Take();
            if (Accept("until") || Accept("while")) Condition();
        } else if (word == "do") {
            Take();
            if (Accept("until") || Accept("while")) Condition();
        } else if (word == "for") {
            Take();
            bool each = Accept("each");
            std::string name = Lower(Take().text);
            Type type;
            if (Accept("as")) {
                bool isNew = false;
                type = DeclaredType(&isNew);
            }
            if (!type.empty()) scope_->locals[name] = type;
            if (each) {
                Accept("in");
                Expression("");
            } else if (Accept("=")) {
                Expression("");
                if (Accept("to") || Accept("downto")) Expression("");
                if (Accept("step")) Expression("");
            }
        } else if (word == "select") {
            Take();
            Accept("case");
            selector_ = Expression("");
        } else if (word == "case") {
            Take();
            if (Accept("else")) return;
            do {
                if (Accept("is")) Take();  // Case Is >= 0
                Type value = Expression("");
                if (Fit(value, selector_) == 0 && Fit(selector_, value) == 0)
                    Report(file_, line_,
                           "Case " + Shown(value) + " does not compare with the Select Case value, " + Shown(selector_));
            } while (Accept(","));
        } else if (word == "return") {
            Take();
            const Type result = scope_->method->result.empty() ? "void" : Lower(scope_->method->result);
            if (AtEnd()) {
                if (result != "void") Report(file_, line_, "Return needs a " + result + " here");
                return;
            }
            if (result == "void") return Report(file_, line_, scope_->method->name + " is a Sub: it returns nothing");
            Assign(Expression(result), result, scope_->method->name + "'s result");
        } else if (word == "catch") {
            Take();
            if (AtEnd()) return;
            std::string name = Lower(Take().text);
            Type type = "runtimeexception";
            if (Accept("as")) {
                bool isNew = false;
                type = DeclaredType(&isNew);
                CheckTypeName(type);
            }
            scope_->locals[name] = type;
        } else if (word == "raise") {
            Take();
            Expression("");
        } else if (word == "call") {
            Take();
            Expression("");
        } else if (word == "else" || word == "end" || word == "wend" || word == "next" || word == "try" || word == "finally" ||
                   word == "exit" || word == "continue" || word == "break") {
            return;
        } else {
            CallOrAssignment();
        }
        if (!AtEnd()) Report(file_, line_, "cannot read the rest of this line from \"" + Peek().text + "\"");
    }

    void SingleLineIf() {
        // "If c Then statement [Else statement]": the statement runs to a top-level Else.
        std::vector<Token> whole = tokens_;
        size_t elseAt = pos_;
        for (int depth = 0; elseAt < whole.size() && whole[elseAt].kind != Token::Kind::End; ++elseAt) {
            if (whole[elseAt].Is("(")) ++depth;
            if (whole[elseAt].Is(")")) --depth;
            if (depth == 0 && whole[elseAt].Is("else")) break;
        }
        std::vector<Token> thenPart(whole.begin() + static_cast<long>(pos_), whole.begin() + static_cast<long>(elseAt));
        thenPart.push_back({Token::Kind::End, ""});
        tokens_ = thenPart;
        pos_ = 0;
        Statement();
        if (elseAt < whole.size() && whole[elseAt].Is("else")) {
            tokens_.assign(whole.begin() + static_cast<long>(elseAt) + 1, whole.end());
            pos_ = 0;
            Statement();
        }
        tokens_ = {Token{}};
        pos_ = 0;
    }

    void Condition() {
        Type type = Expression("boolean");
        if (!type.empty() && type != "boolean" && type != "variant")
            Report(file_, line_, "the condition is " + Shown(type) + ", not a Boolean");
    }

    void CallOrAssignment() {
        assignTarget_ = true;
        Value target = Postfix("");
        assignTarget_ = false;
        if (Accept("=")) {
            if (target.classRef != nullptr) return Report(file_, line_, "cannot assign to the class " + target.classRef->name);
            if (!assignable_ && !target.type.empty()) Report(file_, line_, assignProblem_);
            const std::string what = assignWhat_;
            Assign(Expression(target.type), target.type, what);
            return;
        }
        if (!AtEnd() && !lastWasPluginMember_ && StartsArgument(Peek())) pos_ = tokens_.size() - 1;  // Xojo's own commands
    }

    void Assign(const Type& value, const Type& target, const std::string& what) {
        if (Fit(value, target) == 0) Report(file_, line_, Shown(value) + " cannot go into " + what + " (" + Shown(target) + ")");
    }

    void CheckTypeName(const Type& type) {
        Type base = IsArray(type) ? type.substr(0, type.size() - 2) : type;
        if (IsValueType(base) || base == "object" || Find(base) != nullptr) return;
        static const std::regex plugin("^wia\\w*zvk$");
        if (std::regex_match(base, plugin)) Report(file_, line_, typeText_ + " is not a class the plug-in registers");
    }

    // ---- expressions ----

    // An expression; `expected` is the type its value goes to, which picks among forms that differ only in their
    // result, and is passed on only when the expression is a single operand.
    Type Expression(const Type& expected) {
        size_t end = pos_;
        bool single = true;
        for (int depth = 0; end < tokens_.size() && tokens_[end].kind != Token::Kind::End; ++end) {
            const Token& token = tokens_[end];
            if (token.Is("(")) ++depth;
            if (token.Is(")")) {
                if (depth == 0) break;
                --depth;
            }
            if (depth == 0 && (token.Is(",") || token.Is("then") || token.Is("to") || token.Is("downto") || token.Is("step")))
                break;
            if (depth == 0 && end > pos_ &&
                (token.Is("+") || token.Is("-") || token.Is("*") || token.Is("/") || token.Is("\\") || token.Is("^") ||
                 token.Is("=") || token.Is("<>") || token.Is("<") || token.Is(">") || token.Is("<=") || token.Is(">=") ||
                 token.Is("and") || token.Is("or") || token.Is("xor") || token.Is("mod") || token.Is("isa") || token.Is("is")))
                single = false;
        }
        expected_ = single ? expected : "";
        return Or();
    }

    Type Or() {
        Type left = And();
        while (Peek().Is("or") || Peek().Is("xor")) {
            Take();
            left = Logical(left, And());
        }
        return left;
    }
    Type And() {
        Type left = Not();
        while (Peek().Is("and")) {
            Take();
            left = Logical(left, Not());
        }
        return left;
    }
    Type Logical(const Type& left, const Type& right) {
        if (left.empty() || right.empty() || left == "variant" || right == "variant") return left.empty() ? right : left;
        if (left == "boolean" && right == "boolean") return "boolean";
        if (IsNumeric(left) && IsNumeric(right)) return "integer";
        Report(file_, line_, "And/Or/Xor of " + Shown(left) + " and " + Shown(right));
        return "";
    }
    Type Not() {
        if (Accept("not")) return Not();
        return Comparison();
    }
    Type Comparison() {
        Type left = Sum();
        if (Accept("isa")) {
            std::string name = Lower(Take().text);
            while (Accept(".")) name += "." + Lower(Take().text);
            CheckTypeName(name);
            return "boolean";
        }
        if (Peek().Is("=") || Peek().Is("<>") || Peek().Is("<") || Peek().Is(">") || Peek().Is("<=") || Peek().Is(">=") ||
            Peek().Is("is")) {
            std::string op = Take().text;
            Type right = Sum();
            if (Fit(left, right) == 0 && Fit(right, left) == 0)
                Report(file_, line_, "cannot compare " + Shown(left) + " with " + Shown(right) + " (" + op + ")");
            return "boolean";
        }
        return left;
    }
    Type Sum() {
        Type left = Product();
        while (Peek().Is("+") || Peek().Is("-")) {
            bool plus = Take().Is("+");
            Type right = Product();
            left = Arithmetic(left, right, plus);
        }
        return left;
    }
    Type Arithmetic(const Type& left, const Type& right, bool plus) {
        if (left.empty() || right.empty() || left == "variant" || right == "variant") return left.empty() ? right : left;
        const bool leftText = left == "string" || left == "text", rightText = right == "string" || right == "text";
        if (plus && leftText && rightText) return "string";
        if (IsNumeric(left) && IsNumeric(right)) return left == "double" || right == "double" ? "double" : left;
        if (leftText || rightText)
            Report(file_, line_,
                   "cannot add " + Shown(left) + " and " + Shown(right) + ": turn the number into text with .ToString");
        else
            Report(
                file_, line_,
                std::string("cannot ") + (plus ? "add " : "subtract ") + Shown(right) + (plus ? " to " : " from ") + Shown(left));
        return "";
    }
    Type Product() {
        Type left = Unary();
        while (Peek().Is("*") || Peek().Is("/") || Peek().Is("\\") || Peek().Is("mod") || Peek().Is("^")) {
            bool divide = Peek().Is("/") || Peek().Is("^");
            Take();
            Type right = Unary();
            if (!left.empty() && !right.empty() && left != "variant" && right != "variant" &&
                !(IsNumeric(left) && IsNumeric(right)))
                Report(file_, line_, "arithmetic on " + Shown(left) + " and " + Shown(right));
            left = divide ? "double" : left;
        }
        return left;
    }
    Type Unary() {
        if (Accept("-")) return Unary();
        Value value = Postfix(expected_);
        if (value.classRef != nullptr) {
            Report(file_, line_, value.classRef->name + " is a class or module, not a value");
            return "";
        }
        return value.type;
    }

    std::vector<Type> Arguments() {
        std::vector<Type> args;
        Accept("(");
        if (Accept(")")) return args;
        const Type saved = expected_;
        do {
            args.push_back(Expression(""));
        } while (Accept(","));
        expected_ = saved;
        if (!Accept(")")) Report(file_, line_, "a \")\" is missing");
        return args;
    }

    Value Primary() {
        const Token token = Take();
        if (token.kind == Token::Kind::Number) {
            if (token.text.rfind("&c", 0) == 0 || token.text.rfind("&C", 0) == 0) return {"color"};
            return {token.text.find('.') != std::string::npos ? "double" : "integer"};
        }
        if (token.kind == Token::Kind::String) return {"string"};
        if (token.Is("(")) {
            const Type saved = expected_;
            Type inner = Expression("");
            expected_ = saved;
            if (!Accept(")")) Report(file_, line_, "a \")\" is missing");
            return {inner};
        }
        if (token.Is("true") || token.Is("false")) return {"boolean"};
        if (token.Is("nil")) return {"nil"};
        if (token.Is("me")) return {scope_->me};
        if (token.Is("self")) return {scope_->self};
        if (token.Is("if") && Peek().Is("(")) {  // If(condition, a, b)
            Take();
            Condition();
            Accept(",");
            Type chosen = Expression("");
            Accept(",");
            Expression("");
            if (!Accept(")")) Report(file_, line_, "a \")\" is missing");
            return {chosen};
        }
        if (token.Is("array") && Peek().Is("(")) {  // Array(a, b, ...): an array of the first element's type
            std::vector<Type> elements = Arguments();
            return {elements.empty() || elements[0].empty() ? Type() : elements[0] + "()"};
        }
        if (token.Is("addressof") || token.Is("weakaddressof")) {
            Take();
            return {""};
        }
        if (token.Is("new")) {
            bool isNew = false;
            Type type = DeclaredType(&isNew, false);
            CheckTypeName(type);
            std::vector<Type> args = Peek().Is("(") ? Arguments() : std::vector<Type>{};
            Construct(type, args);
            return {type};
        }
        if (token.kind != Token::Kind::Name) {
            Report(file_, line_, "cannot read \"" + token.text + "\" here");
            return {""};
        }
        return Name(token.text);
    }

    // A bare name: a local or parameter, a member of the code's owner, an item, a plug-in class, or Xojo's.
    Value Name(const std::string& name) {
        const std::string key = Lower(name);
        if (kKeywords.count(key) != 0) {
            Report(file_, line_, "\"" + name + "\" cannot stand here");
            return {""};
        }
        auto local = scope_->locals.find(key);
        if (local != scope_->locals.end()) {
            assignable_ = true;
            assignWhat_ = name;
            Value value{local->second};
            if (IsArray(value.type) && Peek().Is("(")) {  // an element
                Arguments();
                value.type.resize(value.type.size() - 2);
            }
            return value;
        }
        Member member = MemberOf(*scope_->owner, name, false);
        if (member.kind != Member::Kind::None) return Use(member, Value{scope_->self}, false);
        if (const ClassInfo* item = Find(key); item != nullptr && item->item != nullptr) {
            if (item->item->kind == xojo::Item::Kind::Window) return {key};  // the window's implicit instance
            return Cast(*item);
        }
        static const std::regex plugin("^wia\\w*zvk$");
        if (const ClassInfo* cls = Find(key); cls != nullptr) return Cast(*cls);
        if (std::regex_match(key, plugin)) {
            Report(file_, line_, name + " is not a class the plug-in registers");
            return {""};
        }
        Member global = MemberOf(builtins_.at("global"), name, true);
        if (global.kind != Member::Kind::None) return Use(global, Value{""}, true);
        if (IsValueType(key)) return Cast(builtins_.at("object"));  // Integer(x), CType: a conversion
        Report(file_, line_,
               name +
                   " is not declared here (no variable, parameter, property, control, method or class "
                   "of that name)");
        return {""};
    }

    // A class or module name: a cast when "(value)" follows, else the class itself (for its shared members).
    Value Cast(const ClassInfo& cls) {
        const bool module = cls.item != nullptr ? cls.item->kind == xojo::Item::Kind::Module : cls.super.empty();
        if (Peek().Is("(") && !module) {
            Arguments();
            return {Lower(cls.name)};
        }
        Value value;
        value.classRef = &cls;
        return value;
    }

    Value Postfix(const Type& expected) {
        lastWasPluginMember_ = false;
        assignable_ = false;
        assignProblem_ = "this cannot be assigned";
        assignWhat_ = "the target";
        Value value = Primary();
        while (Peek().Is(".")) {
            Take();
            const Token member = Take();
            if (member.kind != Token::Kind::Name) {
                Report(file_, line_, "a member name must follow \".\"");
                return {""};
            }
            value = MemberUse(value, member.text, expected);
        }
        return value;
    }

    Value MemberUse(const Value& on, const std::string& name, const Type& expected) {
        const bool shared = on.classRef != nullptr;
        const ClassInfo* cls = shared ? on.classRef : nullptr;
        Type type = on.type;
        if (!shared) {
            if (type.empty()) return Skip();
            if (IsNumeric(type) || type == "color")
                cls = &builtins_.at("number");
            else if (type == "string" || type == "text")
                cls = &builtins_.at("string");
            else if (type == "boolean")
                cls = &builtins_.at("boolean");
            else if (IsArray(type))
                return Skip();
            else
                cls = Find(type);
            if (type == "nil") {
                Report(file_, line_, "Nil has no member " + name);
                return Skip();
            }
        }
        if (cls == nullptr) return Skip();
        Member member = MemberOf(*cls, name, shared);
        if (member.kind == Member::Kind::None) {
            if (Complete(*cls) || cls->plugin != nullptr) {
                if (cls->plugin != nullptr) ++uses;
                Report(
                    file_, line_,
                    cls->name + "." + name + " is not " + (cls->plugin != nullptr ? "registered" : "a member of " + cls->name));
            }
            return Skip();
        }
        return Use(member, Value{type}, shared, expected);
    }

    // Skips what follows an unknown member: its arguments, if any.
    Value Skip() {
        if (Peek().Is("(")) Arguments();
        return {""};
    }

    // One use of a member: reading a property, calling a method (with the arguments that follow), or assigning.
    Value Use(const Member& member, const Value& on, bool sharedUse, const Type& expected = "") {
        if (member.plugin) ++uses;
        lastWasPluginMember_ = member.plugin;
        lastMember_ = member.where;
        (void)on;
        if (member.plugin && sharedUse && !member.shared)
            Report(file_, line_, member.where + " is an instance member: use it on an object");
        if (member.plugin && !sharedUse && member.shared && member.kind != Member::Kind::Constant)
            Report(file_, line_, member.where + " is shared: use it on the class");
        switch (member.kind) {
            case Member::Kind::Event:
                Report(file_, line_, member.where + " is an event: handle it in a subclass");
                return Skip();
            case Member::Kind::Constant:
                if (Peek().Is("(")) Report(file_, line_, member.where + " is a constant and takes no arguments");
                assignable_ = false;
                assignProblem_ = member.where + " is a constant";
                return {member.type};
            case Member::Kind::Property:
            case Member::Kind::Control:
                if (Peek().Is("(")) {
                    if (IsArray(member.type)) {
                        Arguments();
                        assignable_ = true;
                        return {member.type.substr(0, member.type.size() - 2)};
                    }
                    Report(file_, line_, member.where + " is a property and takes no arguments");
                    Arguments();
                }
                assignable_ = member.writable;
                assignProblem_ = member.where + (member.kind == Member::Kind::Control ? " is a control" : " is read-only");
                assignWhat_ = member.where;
                return {member.type};
            case Member::Kind::Methods: {
                std::vector<Type> args;
                const bool withParentheses = Peek().Is("(");
                if (!withParentheses && member.plugin && StartsArgument(Peek())) {
                    Report(file_, line_, member.where + ": arguments need parentheses");
                    pos_ = tokens_.size() - 1;
                    return {""};
                }
                if (withParentheses) args = Arguments();
                const bool assigned = assignTarget_ && Peek().Is("=");
                const bool chainEnds = !Peek().Is(".");
                return Call(member, args, assigned, chainEnds ? expected : Type());
            }
            default:
                return {""};
        }
    }

    // Picks the form of `member` Xojo would call with these arguments; reports when none fits or none is best.
    Value Call(const Member& member, const std::vector<Type>& args, bool assigned, const Type& expected) {
        std::vector<const Form*> fitting;
        std::vector<std::vector<int>> scores;
        for (const Form& form : member.forms) {
            if (assigned && !form.setter) continue;
            size_t required = 0;
            for (bool optional : form.optional) required += optional ? 0 : 1;
            if (args.size() < required || args.size() > form.params.size()) continue;
            std::vector<int> score;
            bool fits = true;
            for (size_t i = 0; i < args.size() && fits; ++i) {
                int fit = Fit(args[i], form.params[i]);
                fits = fit > 0;
                score.push_back(fit);
            }
            if (!fits) continue;
            fitting.push_back(&form);
            scores.push_back(score);
        }
        assignable_ = assigned;
        assignWhat_ = member.where;
        auto listed = [&] {
            std::string text;
            for (const Type& arg : args) text += (text.empty() ? "" : ", ") + Shown(arg);
            return "(" + text + ")";
        };
        if (fitting.empty()) {
            bool countFits = false, setter = false;
            std::string counted;
            for (const Form& form : member.forms) {
                size_t required = 0;
                for (bool optional : form.optional) required += optional ? 0 : 1;
                setter |= form.setter;
                if (args.size() < required || args.size() > form.params.size() || (assigned && !form.setter)) continue;
                countFits = true;
                counted += (counted.empty() ? "" : "; ") + form.declaration;
            }
            if (assigned && !setter)
                Report(file_, line_, member.where + " cannot be assigned: it is read-only");
            else if (assigned && !countFits)
                Report(file_, line_, member.where + " cannot be assigned with " + std::to_string(args.size()) + " arguments");
            else if (!countFits)
                Report(file_, line_, "no form of " + member.where + " takes " + std::to_string(args.size()) + " arguments");
            else
                Report(file_, line_, "no form of " + member.where + " accepts " + listed() + ": " + counted);
            return {""};
        }
        // The best forms: those no other form beats in every argument.
        std::vector<size_t> best;
        for (size_t a = 0; a < fitting.size(); ++a) {
            bool beaten = false;
            for (size_t b = 0; b < fitting.size() && !beaten; ++b) {
                if (a == b) continue;
                bool noWorse = true, better = false;
                for (size_t i = 0; i < args.size(); ++i) {
                    noWorse &= scores[b][i] >= scores[a][i];
                    better |= scores[b][i] > scores[a][i];
                }
                beaten = noWorse && better;
            }
            if (!beaten) best.push_back(a);
        }
        if (best.size() == 1) return Result(*fitting[best[0]], assigned);
        bool unknownArgument = false;
        for (const Type& arg : args) unknownArgument |= arg.empty();
        bool sameParameters = true;
        for (size_t i : best) sameParameters &= fitting[i]->params == fitting[best[0]]->params;
        if (sameParameters) {
            // Forms that differ only in their result: the type the result goes to picks one.
            std::string results;
            for (size_t i : best) results += (results.empty() ? "" : " or ") + Shown(fitting[i]->result);
            if (assigned || (unknownArgument && expected.empty())) return {""};
            if (expected.empty()) {
                Report(file_, line_,
                       member.where + "'s forms differ only in their result (" + results +
                           "): assign the call alone to a variable of the type you want");
                return {""};
            }
            std::vector<size_t> chosen;
            for (size_t i : best)
                if (Fit(fitting[i]->result, expected) == 3) chosen.push_back(i);
            if (chosen.size() == 1) return Result(*fitting[chosen[0]], assigned);
            if (chosen.empty())
                Report(file_, line_, "the result of " + member.where + " is " + results + ", not " + Shown(expected));
            else
                Report(file_, line_, member.where + ": several forms give " + Shown(expected));
            return {""};
        }
        if (unknownArgument) {
            Type result = fitting[best[0]]->result;
            for (size_t i : best)
                if (fitting[i]->result != result) return {""};
            return {result == "void" ? "" : result};
        }
        std::string forms;
        for (size_t i : best) forms += (forms.empty() ? "" : "; ") + fitting[i]->declaration;
        Report(file_, line_, "Xojo cannot tell which form of " + member.where + " to call with " + listed() + ": " + forms);
        return {""};
    }

    Value Result(const Form& form, bool assigned) {
        if (assigned) return {form.result};
        return {form.result == "void" ? "void" : form.result};
    }

    void Construct(const Type& type, const std::vector<Type>& args) {
        const ClassInfo* cls = Find(IsArray(type) ? "" : type);
        if (cls == nullptr) return;
        Member constructor = MemberOf(*cls, "Constructor", false);
        if (constructor.kind != Member::Kind::Methods) {
            if (!args.empty() && Complete(*cls)) Report(file_, line_, "no constructor of " + cls->name + " takes arguments");
            return;
        }
        if (constructor.plugin) ++uses;
        Call(constructor, args, false, "");
    }

    std::map<std::string, ClassInfo> builtins_, plugin_, program_;
    std::vector<xojo::Item> modules_;
    Scope* scope_ = nullptr;
    std::string file_;
    int line_ = 0;
    std::vector<Token> tokens_;
    size_t pos_ = 0;
    Type expected_, selector_;
    bool assignTarget_ = false, assignable_ = false, lastWasPluginMember_ = false;
    std::string assignProblem_, assignWhat_, lastMember_, typeText_;
};

// ---------------------------------------------------------------------------------------------------------------------

std::vector<std::filesystem::path> Files(const std::filesystem::path& folder, const std::string& extension, bool textFormat) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() != extension) continue;
        std::ifstream in(entry.path());
        std::string first;
        std::getline(in, first);
        if ((first.rfind("#tag ", 0) == 0) == textFormat) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

int Run(const std::vector<std::string>& args) {
    const std::string mode = !args.empty() && args[0].rfind("--", 0) == 0 ? args[0] : "";
    const size_t folders = mode == "--broken" ? 2 : 1;
    const size_t first = mode.empty() ? 0 : 1;
    if (args.size() < first + folders) {
        std::fprintf(stderr, "usage: wiazvk_check_examples [--projects | --broken <snippets>] <folder> [WIAZVK.dll]\n");
        return 2;
    }
    const std::filesystem::path folder = args[first];
    const std::filesystem::path examples = mode == "--broken" ? std::filesystem::path(args[first + 1]) : folder;
    const std::string dll = args.size() > first + folders ? args[first + folders] : "WIAZVK.dll";

    simhost::SimHost host;
    host.Load(dll.c_str());
    Checker checker(host.Classes());
    xojo::Problems problems;
    std::vector<xojo::Item> modules;
    if (mode != "--projects")
        for (const auto& path : Files(examples, ".xojo_code", true)) modules.push_back(xojo::ReadItemFile(path, problems));
    for (const xojo::Item& module : modules) checker.AddModule(module);
    auto flush = [&] {
        for (const xojo::Problem& problem : problems) checker.Report(problem.file, problem.line, problem.text);
        problems.clear();
    };
    flush();

    if (mode.empty()) {
        std::vector<std::filesystem::path> files = Files(folder, ".xojo_code", false);
        bool checkModules = true;
        for (const auto& path : files) {
            std::vector<xojo::Item> items = xojo::ReadExample(path, problems);
            flush();
            checker.CheckProgram(items, checkModules);
            checkModules = false;
        }
        std::printf("%zu examples and %zu modules, %d uses of plug-in members and events checked, %zu problems\n", files.size(),
                    modules.size(), checker.uses, checker.reported.size());
        return files.empty() || !checker.reported.empty() ? 1 : 0;
    }
    if (mode == "--projects") {
        std::vector<std::filesystem::path> projects;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
            if (entry.path().extension() == ".xojo_project") projects.push_back(entry.path());
        std::sort(projects.begin(), projects.end());
        for (const auto& path : projects) {
            xojo::Project project = xojo::ReadProject(path, problems);
            for (xojo::Problem& problem : problems)
                if (problem.file.find('/') == std::string::npos)
                    problem.file = path.parent_path().filename().string() + "/" + problem.file;
            flush();
            for (xojo::Item& item : project.items) item.file = path.parent_path().filename().string() + "/" + item.file;
            checker.CheckProgram(project.items, true);
        }
        std::printf("%zu projects, %d uses of plug-in members and events checked, %zu problems\n", projects.size(), checker.uses,
                    checker.reported.size());
        return projects.empty() || !checker.reported.empty() ? 1 : 0;
    }
    if (mode == "--broken") {
        int missed = 0, snippets = 0;
        for (const auto& path : Files(folder, ".xojo_code", false)) {
            ++snippets;
            std::set<int> marked;
            std::ifstream in(path);
            std::string line;
            for (int number = 1; std::getline(in, line); ++number)
                if (line.find("// broken") != std::string::npos) marked.insert(number);
            const size_t before = checker.reported.size();
            std::vector<xojo::Item> items = xojo::ReadExample(path, problems);
            flush();
            checker.CheckProgram(items, false);
            bool found = false, stray = false;
            for (size_t i = before; i < checker.reported.size(); ++i) {
                found |= marked.count(checker.reported[i].line) != 0;
                stray |= marked.count(checker.reported[i].line) == 0;
            }
            if (marked.size() != 1 || !found || stray) {
                ++missed;
                std::printf("%s: %s\n", path.filename().string().c_str(),
                            marked.size() != 1 ? "needs exactly one line marked \"// broken\""
                            : !found           ? "its broken line was not reported"
                                               : "problems reported beyond its broken line");
            }
        }
        std::printf("%d broken snippets, %d reported on their broken line and nowhere else\n", snippets, snippets - missed);
        return snippets == 0 || missed != 0 ? 1 : 0;
    }
    std::fprintf(stderr, "unknown option %s\n", mode.c_str());
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int status = 0;
    try {
        status = Run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "check failed: %s\n", error.what());
        status = 1;
    }
    CoUninitialize();
    return status;
}
