// Writes one ready-to-open Xojo desktop project per paste-in example, in Xojo's text project format, from the same
// source: <output>/<Example>/<Example>.xojo_project with App, the example's classes and windows, a File menu, and the
// modules beside the examples (WIAConstants) copied in. Controls are laid out top to bottom in the order the example
// lists them, with the properties it gives; code goes in as written.
//
//     wiazvk_make_projects.exe <examples folder> <output folder>
//
// Output is deterministic (ids come from the names), so two runs give the same files.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tools/examples/XojoSource.h"

namespace {

using xojo::Item;
using xojo::Method;

// An item id in the project's form: "&h" and 16 hex digits, the low 31 bits from the name, ending in 7FF as the IDE's do.
uint32_t Id(const std::string& name) {
    uint32_t hash = 2166136261u;
    for (char c : name) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    return (hash & 0x7FFFF800u) | 0x7FFu;
}
std::string IdText(uint32_t id) {
    char text[32];
    std::snprintf(text, sizeof text, "&h00000000%08X", id);
    return text;
}
const char kNoParent[] = "&h0000000000000000";

// "   Name            =   value": names padded to 16 columns, as the IDE writes layouts.
std::string Setting(int indent, const std::string& name, const std::string& value) {
    std::string line(static_cast<size_t>(indent), ' ');
    line += name;
    if (name.size() < 16) line.append(16 - name.size(), ' ');
    return line + "=   " + value + "\n";
}

// The properties a control type starts with, in the IDE's order; Left, Top, Width, Height and TabIndex are set by the
// layout, the example's own properties replace these.
struct ControlType {
    const char* name;
    int width, height;
    std::vector<std::pair<const char*, const char*>> defaults;
};

const std::vector<std::pair<const char*, const char*>> kCommon = {{"AllowAutoDeactivate", "True"},
                                                                  {"Enabled", "True"},
                                                                  {"Index", "-2147483648"},
                                                                  {"InitialParent", "\"\""},
                                                                  {"LockBottom", "False"},
                                                                  {"LockedInPosition", "False"},
                                                                  {"LockLeft", "True"},
                                                                  {"LockRight", "False"},
                                                                  {"LockTop", "True"},
                                                                  {"Scope", "0"},
                                                                  {"TabPanelIndex", "0"},
                                                                  {"Tooltip", "\"\""},
                                                                  {"Transparent", "False"},
                                                                  {"Visible", "True"}};
const std::vector<std::pair<const char*, const char*>> kFont = {{"Bold", "False"},   {"FontName", "\"System\""},
                                                                {"FontSize", "0.0"}, {"FontUnit", "0"},
                                                                {"Italic", "False"}, {"Underline", "False"}};

const ControlType kControls[] = {
    {"DesktopButton",
     160,
     24,
     {{"Cancel", "False"}, {"Caption", "\"Button\""}, {"Default", "False"}, {"MacButtonStyle", "0"}, {"TabStop", "True"}}},
    {"DesktopCheckBox", 300, 20, {{"Caption", "\"Check\""}, {"TabStop", "True"}, {"Value", "False"}, {"VisualState", "0"}}},
    {"DesktopLabel",
     560,
     20,
     {{"Multiline", "False"},
      {"Selectable", "False"},
      {"TabStop", "True"},
      {"Text", "\"\""},
      {"TextAlignment", "0"},
      {"TextColor", "&c000000"}}},
    {"DesktopTextArea",
     560,
     300,
     {{"AllowFocusRing", "True"},
      {"AllowSpellChecking", "False"},
      {"AllowStyledText", "False"},
      {"AllowTabs", "False"},
      {"BackgroundColor", "&cFFFFFF"},
      {"Format", "\"\""},
      {"HasBorder", "True"},
      {"HasHorizontalScrollbar", "False"},
      {"HasVerticalScrollbar", "True"},
      {"HideSelection", "True"},
      {"LineHeight", "0.0"},
      {"LineSpacing", "1.0"},
      {"MaximumCharactersAllowed", "0"},
      {"Multiline", "True"},
      {"ReadOnly", "False"},
      {"TabStop", "True"},
      {"Text", "\"\""},
      {"TextAlignment", "0"},
      {"TextColor", "&c000000"},
      {"UnicodeMode", "1"},
      {"ValidationMask", "\"\""}}},
    {"DesktopProgressBar",
     560,
     20,
     {{"Active", "False"},
      {"AllowTabStop", "True"},
      {"Indeterminate", "False"},
      {"MaximumValue", "100"},
      {"PanelIndex", "0"},
      {"Value", "0.0"}}},
    {"DesktopImageViewer", 560, 300, {{"Active", "False"}, {"AllowTabStop", "True"}, {"Image", "0"}, {"PanelIndex", "0"}}},
};

// The IDE lists a control's properties in alphabetical order, ignoring case.
struct NoCase {
    bool operator()(const std::string& a, const std::string& b) const { return xojo::Lower(a) < xojo::Lower(b); }
};

const ControlType* FindControlType(const std::string& name) {
    for (const ControlType& type : kControls)
        if (xojo::Lower(type.name) == xojo::Lower(name)) return &type;
    return nullptr;
}

// A method or event in the text format: the declaration and the body indented by two tabs, as the IDE writes them.
void WriteMethod(std::ostringstream& out, const Method& method, const char* tag, const char* flags) {
    out << "\t#tag " << tag << flags << "\n\t\t" << method.declaration << "\n";
    for (const std::string& line : method.lines) out << "\t\t" << (line.empty() ? "  " : line) << "\n";
    out << "\t\t" << (method.result.empty() ? "End Sub" : "End Function") << "\n\t#tag End" << tag << "\n";
}

void WriteProperties(std::ostringstream& out, const Item& item) {
    for (const xojo::Declared& property : item.properties) {
        std::string type = property.type, name = property.name;
        if (type.size() > 2 && type.compare(type.size() - 2, 2, "()") == 0) {
            type.resize(type.size() - 2);
            name += "()";
        }
        out << "\t#tag Property, Flags = &h0\n\t\t" << name << " As " << type << "\n\t#tag EndProperty\n\n";
    }
}

void WriteViewBehavior(std::ostringstream& out, const std::vector<std::vector<const char*>>& rows, const char* indent) {
    out << indent << "#tag ViewBehavior\n";
    for (const auto& row : rows) {
        out << indent << "\t#tag ViewProperty\n";
        out << indent << "\t\tName=\"" << row[0] << "\"\n" << indent << "\t\tVisible=" << row[1] << "\n";
        out << indent << "\t\tGroup=\"" << row[2] << "\"\n" << indent << "\t\tInitialValue=\"" << row[3] << "\"\n";
        out << indent << "\t\tType=\"" << row[4] << "\"\n" << indent << "\t\tEditorType=\"" << row[5] << "\"\n";
        out << indent << "\t#tag EndViewProperty\n";
    }
    out << indent << "#tag EndViewBehavior\n";
}

const std::vector<std::vector<const char*>> kClassView = {{"Name", "true", "ID", "", "String", ""},
                                                          {"Index", "true", "ID", "-2147483648", "Integer", ""},
                                                          {"Super", "true", "ID", "", "String", ""},
                                                          {"Left", "true", "Position", "0", "Integer", ""},
                                                          {"Top", "true", "Position", "0", "Integer", ""}};
const std::vector<std::vector<const char*>> kWindowView = {
    {"Name", "true", "ID", "", "String", ""},
    {"Interfaces", "true", "ID", "", "String", ""},
    {"Super", "true", "ID", "", "String", ""},
    {"Width", "true", "Size", "600", "Integer", ""},
    {"Height", "true", "Size", "400", "Integer", ""},
    {"MinimumWidth", "true", "Size", "64", "Integer", ""},
    {"MinimumHeight", "true", "Size", "64", "Integer", ""},
    {"MaximumWidth", "true", "Size", "32000", "Integer", ""},
    {"MaximumHeight", "true", "Size", "32000", "Integer", ""},
    {"Title", "true", "Frame", "Untitled", "String", ""},
    {"HasCloseButton", "true", "Frame", "True", "Boolean", ""},
    {"Resizeable", "true", "Frame", "True", "Boolean", ""},
    {"Visible", "true", "Behavior", "True", "Boolean", ""},
    {"ImplicitInstance", "true", "Window Behavior", "True", "Boolean", ""}};

std::string ClassFile(const Item& item) {
    std::ostringstream out;
    out << "#tag Class\nProtected Class " << item.name << "\nInherits " << item.super << "\n";
    for (const Method& method : item.methods) {
        WriteMethod(out, method, method.kind == Method::Kind::Event ? "Event" : "Method",
                    method.kind == Method::Kind::Event ? "" : ", Flags = &h0");
        out << "\n";
    }
    out << "\n";
    WriteProperties(out, item);
    out << "\n";
    WriteViewBehavior(out, kClassView, "\t");
    out << "End Class\n#tag EndClass\n";
    return out.str();
}

std::string WindowFile(const Item& item, const std::string& title, uint32_t menuBar, bool visible, std::string* problem) {
    std::ostringstream layout, code;
    int top = 20, tab = 0, width = 600;
    for (const xojo::Control& control : item.controls) {
        const ControlType* type = FindControlType(control.type);
        if (type == nullptr) {
            *problem = control.type + " (" + control.name + ") is not a control type the generator lays out";
            return {};
        }
        std::map<std::string, std::string, NoCase> settings;
        for (const auto& [name, value] : kCommon) settings[name] = value;
        if (xojo::Lower(control.type) != "desktopprogressbar" && xojo::Lower(control.type) != "desktopimageviewer")
            for (const auto& [name, value] : kFont) settings[name] = value;
        for (const auto& [name, value] : type->defaults) settings[name] = value;
        for (const auto& [name, value] : control.properties) {
            if (settings.count(name) == 0) {
                *problem = control.name + ": " + control.type + " has no property " + name + " the generator knows";
                return {};
            }
            settings[name] = value;
            if (name == "Value" && xojo::Lower(control.type) == "desktopcheckbox")
                settings["VisualState"] = value == "True" ? "1" : "0";
        }
        const bool wide = type->width > 200;
        settings["Left"] = "20";
        settings["Top"] = std::to_string(top);
        settings["Width"] = std::to_string(type->width);
        settings["Height"] = std::to_string(type->height);
        settings["TabIndex"] = std::to_string(tab++);
        if (wide) settings["LockRight"] = "True";
        layout << "   Begin " << control.type << " " << control.name << "\n";
        for (const auto& [name, value] : settings) layout << Setting(6, name, value);
        layout << "   End\n";
        top += type->height + 12;
    }
    const int height = std::max(top + 8, 120);

    for (Method::Kind kind : {Method::Kind::Event, Method::Kind::Method}) {
        for (const Method& method : item.methods) {
            if (method.kind != kind) continue;
            WriteMethod(code, method, kind == Method::Kind::Event ? "Event" : "Method",
                        kind == Method::Kind::Event ? "" : ", Flags = &h0");
            code << "\n";
        }
    }
    for (const Method& method : item.methods) {
        bool known = method.kind != Method::Kind::ControlEvent;
        for (const xojo::Control& control : item.controls) known |= xojo::Lower(control.name) == xojo::Lower(method.control);
        if (!known) {
            *problem = item.name + " has no control " + method.control + " for its " + method.name + " event";
            return {};
        }
    }
    code << "\n";
    WriteProperties(code, item);

    std::ostringstream out;
    out << "#tag DesktopWindow\nBegin DesktopWindow " << item.name << "\n";
    const std::vector<std::pair<std::string, std::string>> window = {{"Backdrop", "0"},
                                                                     {"BackgroundColor", "&cFFFFFF"},
                                                                     {"Composite", "False"},
                                                                     {"DefaultLocation", "2"},
                                                                     {"FullScreen", "False"},
                                                                     {"HasBackgroundColor", "False"},
                                                                     {"HasCloseButton", "True"},
                                                                     {"HasFullScreenButton", "False"},
                                                                     {"HasMaximizeButton", "True"},
                                                                     {"HasMinimizeButton", "True"},
                                                                     {"HasTitleBar", "True"},
                                                                     {"Height", std::to_string(height)},
                                                                     {"ImplicitInstance", "True"},
                                                                     {"MacProcID", "0"},
                                                                     {"MaximumHeight", "32000"},
                                                                     {"MaximumWidth", "32000"},
                                                                     {"MenuBar", std::to_string(menuBar)},
                                                                     {"MenuBarVisible", "False"},
                                                                     {"MinimumHeight", "64"},
                                                                     {"MinimumWidth", "64"},
                                                                     {"Resizeable", "True"},
                                                                     {"Title", "\"" + title + "\""},
                                                                     {"Type", "0"},
                                                                     {"Visible", visible ? "True" : "False"},
                                                                     {"Width", std::to_string(width)}};
    for (const auto& [name, value] : window) out << Setting(3, name, value);
    out << layout.str() << "End\n#tag EndDesktopWindow\n\n#tag WindowCode\n" << code.str() << "\n#tag EndWindowCode\n\n";
    for (const xojo::Control& control : item.controls) {
        bool any = false;
        for (const Method& method : item.methods) {
            if (method.kind != Method::Kind::ControlEvent || xojo::Lower(method.control) != xojo::Lower(control.name)) continue;
            if (!any) out << "#tag Events " << control.name << "\n";
            any = true;
            WriteMethod(out, method, "Event", "");
        }
        if (any) out << "#tag EndEvents\n";
    }
    WriteViewBehavior(out, kWindowView, "");
    return out.str();
}

const char kApp[] =
    "#tag Class\nProtected Class App\nInherits DesktopApplication\n"
    "\t#tag Constant, Name = kFileQuit, Type = String, Dynamic = False, Default = \\\"&Quit\", Scope = Public\n"
    "\t\t#Tag Instance, Platform = Windows, Language = Default, Definition  = \\\"E&xit\"\n"
    "\t#tag EndConstant\n\n"
    "\t#tag Constant, Name = kFileQuitShortcut, Type = String, Dynamic = False, Default = \\\"\", Scope = Public\n"
    "\t\t#Tag Instance, Platform = Mac OS, Language = Default, Definition  = \\\"Cmd+Q\"\n"
    "\t\t#Tag Instance, Platform = Linux, Language = Default, Definition  = \\\"Ctrl+Q\"\n"
    "\t#tag EndConstant\n\n\n";

const char kMenu[] =
    "#tag Menu\nBegin Menu MainMenuBar\n"
    "   Begin DesktopMenuItem FileMenu\n      SpecialMenu = 0\n      Index = -2147483648\n      Text = \"&File\"\n"
    "      AutoEnabled = True\n      AutoEnable = True\n      Visible = True\n"
    "      Begin DesktopMenuItem FileQuit\n         SpecialMenu = 0\n         Index = -2147483648\n"
    "         Text = \"#App.kFileQuit\"\n         ShortcutKey = \"#App.kFileQuitShortcut\"\n"
    "         Shortcut = \"#App.kFileQuitShortcut\"\n         AutoEnabled = True\n         AutoEnable = True\n"
    "         Visible = True\n      End\n   End\nEnd\n#tag EndMenu\n";

void Write(const std::filesystem::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// One project for one example; false with the problem printed when the example cannot be laid out.
bool MakeProject(const std::filesystem::path& example, const std::vector<std::filesystem::path>& modules,
                 const std::filesystem::path& output) {
    xojo::Problems problems;
    std::vector<Item> items = xojo::ReadExample(example, problems);
    for (const xojo::Problem& problem : problems)
        std::printf("%s:%d: %s\n", problem.file.c_str(), problem.line, problem.text.c_str());
    if (!problems.empty()) return false;
    const std::string name = example.stem().string();
    const std::filesystem::path folder = output / name;
    std::filesystem::create_directories(folder);

    std::ostringstream list;
    auto entry = [&](const char* kind, const std::string& itemName, const std::string& file) {
        list << kind << "=" << itemName << ";" << file << ";" << IdText(Id(name + "/" + itemName)) << ";" << kNoParent
             << ";false\n";
    };
    entry("Class", "App", "App.xojo_code");
    Write(folder / "App.xojo_code",
          std::string(kApp) + "\t#tag ViewBehavior\n\t#tag EndViewBehavior\nEnd Class\n#tag EndClass\n");
    entry("MenuBar", "MainMenuBar", "MainMenuBar.xojo_menu");
    Write(folder / "MainMenuBar.xojo_menu", kMenu);
    for (const std::filesystem::path& module : modules) {
        entry("Module", module.stem().string(), module.filename().string());
        Write(folder / module.filename(), ReadAll(module));
    }
    std::string defaultWindow;
    for (const Item& item : items) {
        const std::string file = item.name + (item.kind == Item::Kind::Window ? ".xojo_window" : ".xojo_code");
        if (item.kind == Item::Kind::Class) {
            entry("Class", item.name, file);
            Write(folder / file, ClassFile(item));
        } else {
            const bool first = defaultWindow.empty();
            if (first) defaultWindow = item.name;
            std::string problem;
            std::string text = WindowFile(item, first ? name : item.name, Id(name + "/MainMenuBar"), first, &problem);
            if (!problem.empty()) {
                std::printf("%s: %s\n", example.filename().string().c_str(), problem.c_str());
                return false;
            }
            entry("DesktopWindow", item.name, file);
            Write(folder / file, text);
        }
    }
    std::ostringstream project;
    project << "Type=Desktop\nRBProjectVersion=2021.031\nMinIDEVersion=20210300\nOrigIDEVersion=20210300\n" << list.str();
    project << "DefaultWindow=" << defaultWindow << "\nAppMenuBar=MainMenuBar\n";
    project
        << "MajorVersion=1\nMinorVersion=0\nSubVersion=0\nNonRelease=0\nRelease=0\nInfoVersion=\nLongVersion=\nShortVersion=\n";
    project << "WinCompanyName=\nWinInternalName=" << name << "\nWinProductName=" << name << "\nWinFileDescription=\n";
    project << "AutoIncrementVersionInformation=False\nBuildLanguage=&h0\nDebugLanguage=&h0\nRegion=\n";
    project << "WindowsName=" << name << ".exe\nMacCarbonMachName=" << name << "\nLinuxX86Name=" << name << "\n";
    project << "MacCreator=\nMDI=0\nMDICaption=\nDefaultEncoding=&h0\nOSXBundleID=com.example." << xojo::Lower(name) << "\n";
    project << "DebuggerCommandLine=\nUseGDIPlus=False\nUseBuildsFolder=True\nHiDPI=True\nDarkMode=True\n";
    project << "CopyRedistNextToWindowsEXE=False\nIncludePDB=False\nWinUIFramework=False\nIsWebProject=False\n";
    project << "WindowsBuildArchitecture=1\nOptimizationLevel=0\nWindowsRunAs=0\n";
    Write(folder / (name + ".xojo_project"), project.str());
    std::printf("%s: %zu items\n", (name + "/" + name + ".xojo_project").c_str(), items.size() + 2 + modules.size());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: wiazvk_make_projects <examples folder> <output folder>\n");
        return 2;
    }
    try {
        std::vector<std::filesystem::path> examples, modules;
        for (const auto& file : std::filesystem::directory_iterator(argv[1])) {
            if (file.path().extension() != ".xojo_code") continue;
            std::ifstream in(file.path());
            std::string first;
            std::getline(in, first);
            (first.rfind("#tag ", 0) == 0 ? modules : examples).push_back(file.path());
        }
        std::sort(examples.begin(), examples.end());
        std::sort(modules.begin(), modules.end());
        std::filesystem::remove_all(argv[2]);
        bool ok = !examples.empty();
        for (const auto& example : examples) ok &= MakeProject(example, modules, argv[2]);
        return ok ? 0 : 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "make projects failed: %s\n", error.what());
        return 1;
    }
}
