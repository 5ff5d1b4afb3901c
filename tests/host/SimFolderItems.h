// The simulated host's folder items and windows: a builtin "FolderItem" class with the two constructors
// the plug-in looks up, "REALpathFromFolderItem", the global method "GetTrueFolderItem", and builtin
// "Window" and "DesktopWindow" classes with an integer "Handle". Each constructor and the global method
// can be withheld by its declaration (SimHost::Withhold), the class by its name; a constructor told to
// raise throws HostRaise or raises through the host and returns.
#pragma once

#include <cstdint>
#include <string>

#include "tests/host/SimHost.h"

namespace simhost {

constexpr const char* kFolderItemConstructor =
    "Constructor(path As String, pathMode As FolderItem.PathModes, followAlias As Boolean)";
constexpr const char* kFolderItemShortConstructor = "Constructor(path As String, pathMode As Integer = 0)";
constexpr const char* kGetTrueFolderItem = "GetTrueFolderItem(path As String, pathMode As Integer) As FolderItem";

// What made a simulated folder item, and with which arguments.
struct FolderItemOrigin {
    std::string madeBy;  // "GetTrueFolderItem", kFolderItemConstructor, kFolderItemShortConstructor or "script"
    std::string path;    // the bytes of the path string
    int64_t pathMode;
};
FolderItemOrigin OriginOf(SimHost& host, REALobject folderItem);

// A folder item over the path, as a script holds one (one reference).
REALobject NewFolderItemAt(SimHost& host, const std::string& path, uint32_t encoding = enc::kUTF8);
// The constructor with this declaration raises an "IOException" on every later call, until the host ends:
// by unwinding (HostRaise), or through "RuntimeRaiseException" and then returning normally.
enum class RaiseStyle { Unwind, Return };
void RaiseInFolderItemConstructor(const std::string& declaration, RaiseStyle style = RaiseStyle::Unwind);

// A window of the builtin class "Window" or "DesktopWindow" whose "Handle" is handle (one reference).
REALobject NewWindow(SimHost& host, int64_t handle, const std::string& className = "Window");

}  // namespace simhost
