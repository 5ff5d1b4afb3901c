# Completes dist/ (cmake -DVERSION=... -DSOURCE=<repository> -DDIST=<dist folder> -P Dist.cmake): copies every
# examples/*.xojo_code and writes README.txt, which counts the class pages of the reference and the projects. The
# package, the reference and the projects are put there by the dist target before.
cmake_minimum_required(VERSION 3.20)
file(COPY "${SOURCE}/docs/GUIDE.md" DESTINATION "${DIST}")
file(GLOB examples "${SOURCE}/examples/*.xojo_code")
file(MAKE_DIRECTORY "${DIST}/examples")
foreach(example IN LISTS examples)
    file(COPY "${example}" DESTINATION "${DIST}/examples")
endforeach()
set(count 0)
foreach(example IN LISTS examples)
    file(STRINGS "${example}" first LIMIT_COUNT 1)
    if(NOT first MATCHES "^#tag ")  # modules in Xojo's text format (WIAConstants) are not examples
        math(EXPR count "${count} + 1")
    endif()
endforeach()
file(GLOB projects "${DIST}/projects/*/*.xojo_project")
list(LENGTH projects project_count)
file(GLOB class_pages "${DIST}/reference/WIA*ZVK.md")  # the reference's page of each class
list(LENGTH class_pages class_count)
if(class_count EQUAL 0)
    message(FATAL_ERROR "no class pages in ${DIST}/reference: put the reference there first")
endif()

file(WRITE "${DIST}/README.txt" "WIAZVK ${VERSION} - Windows Image Acquisition (WIA 1.0 and 2.0) for Xojo on 64-bit Windows

Contents
- WIAZVK-${VERSION}.xojo_plugin: the plug-in package
- GUIDE.md: how to scan a page, a feeder or duplex batch, band by band, download a camera's pictures; what each
  Lasterror code means and what to do; where the plug-in runs (also the first part of WIAZVK-reference.html)
- WIAZVK-reference.html: the guide and the class reference in one file, for offline reading
- reference/: the same reference as Markdown pages (start with index.md)
- projects/: ${project_count} ready-to-open Xojo projects, one per example (open projects/<Example>/<Example>.xojo_project)
- examples/: the same ${count} examples as source to paste into your own project, and WIAConstants.xojo_code, the
  module of result codes, property values and ErrorText they use (import it into your project)

Installing
  1. Quit the Xojo IDE.
  2. Copy WIAZVK-${VERSION}.xojo_plugin into the Plugins folder next to the Xojo IDE
     (remove any older WIAZVK*.xojo_plugin from that folder first).
  3. Start the IDE: the ${class_count} WIA...ZVK classes are available to every project, and built 64-bit Windows
     applications carry the plug-in's DLL along.

Using the examples
  Open a project in projects/ with Xojo 2021 Release 3 or later, set the build target to Windows 64-bit and run.
  Or add an example to your own project: import examples/WIAConstants.xojo_code, then paste each part of the
  example where its \"// ---- <where> ----\" line says.

Failed system calls never raise: every object keeps the result code of its last call in Lasterror
(-1 before any call, 0 for success, negative for failures). GUIDE.md explains each code; WIAZVK-reference.html
lists every class.
")
