// SimPlatform.h - the simulated WIA platform that the Windows test programs run the library against.
//
// Install() registers class objects for the WIA 1.0 and 2.0 device managers and the WIA video object in this
// process, so the library's own CoCreateInstance calls reach simulated objects. Every simulated object is counted,
// every simulated method is logged by its name "Interface::Method" and can be told to fail.
// All functions run on the test thread, which has initialised COM (apartment-threaded) before Install().
#pragma once

#include <windows.h>
#include <unknwn.h>

namespace simwia {

// Registers the class objects (CLSID_WiaDevMgr and CLSID_WiaDevMgr2 as local servers, WiaVideo in-process);
// a second call does nothing. Aborts the test program when COM refuses a registration.
void Install();
// Revokes what Install() registered; objects already made stay alive until released.
void Uninstall();
// Clears failure plans and call counts (not the objects).
void ResetAll();

// Simulated objects currently alive (class objects not included), and the sum of their reference counts.
long LiveObjects();
long OutstandingReferences();

// A plain simulated object answering IUnknown and `iid` (one interface, three slots), returned with one reference;
// for tests of the library's COM holders. Its methods are logged as "CountedObject::QueryInterface" and so on.
IUnknown* NewCountedObject(REFIID iid = IID_IUnknown);
// Reference count of a live simulated object, read without changing it; 0 for anything else.
ULONG RefCount(IUnknown* object);

// The next `times` calls of `method` ("IWiaDevMgr2::CreateDevice", "ClassFactory::CreateInstance") return `hr`
// at once, touching no argument (QueryInterface and CreateInstance still clear their out-pointer); times < 0
// means every call until ResetFailures(). A success code such as S_FALSE may be planned too. AddRef and Release
// are counted but never fail.
void FailNext(const char* method, HRESULT hr, int times = 1);
void ResetFailures();

// How often `method` was entered since the last ResetCounts(), failed calls included.
int CallCount(const char* method);
void ResetCounts();

} // namespace simwia
