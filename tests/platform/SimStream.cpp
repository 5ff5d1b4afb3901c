// SimStream.cpp - the counted stand-in for a file stream: a simulated object in front of a stream SHCreateStreamOnFileW
// made, forwarding the methods of IStream ("IStream interface", and ISequentialStream's Read and Write) to it one by
// one, so that the stream's references are counted with the simulated objects', a call after its last Release is seen,
// and every method is logged and can be failed as "IStream::<method>". The stand-in holds the one reference to the
// system's stream and releases it when it is destroyed, so the file closes at the stand-in's last Release.
#include "tests/platform/SimModel.h"

#include <algorithm>

namespace simwia {
namespace {

class CountedStream : public SimObject {
public:
    explicit CountedStream(IStream* stream) : stream_(stream) {
        AddInterface(&face_, "IStream", IID_IStream, Vtable());
        AddInterface(&sequential_, "ISequentialStream", IID_ISequentialStream, Vtable());
    }
    ~CountedStream() override { stream_->Release(); }

    static IStream* Of(Interface* self) { return static_cast<CountedStream*>(self->owner)->stream_; }
    static const Slot* Vtable();

private:
    IStream* stream_;
    Interface face_{};
    Interface sequential_{};  // the same slots: ISequentialStream is IStream's first part
};

HRESULT STDMETHODCALLTYPE Read(Interface* self, void* pv, ULONG cb, ULONG* pcbRead) {
    HRESULT hr;
    return Intercept(self, "Read", &hr) ? hr : CountedStream::Of(self)->Read(pv, cb, pcbRead);
}

// A write takes at most the limit a test set (SetStreamWriteLimit): a medium that fills up.
HRESULT STDMETHODCALLTYPE Write(Interface* self, const void* pv, ULONG cb, ULONG* pcbWritten) {
    HRESULT hr;
    return Intercept(self, "Write", &hr) ? hr : CountedStream::Of(self)->Write(pv, std::min(cb, StreamWriteLimit()), pcbWritten);
}

// The move and the origin are recorded as received, all 64 bits (Wine's own stream keeps only the low 32).
HRESULT STDMETHODCALLTYPE Seek(Interface* self, LARGE_INTEGER dlibMove, DWORD dwOrigin, ULARGE_INTEGER* plibNewPosition) {
    Call& call = Record(self, "Seek");
    call.position = dlibMove.QuadPart;
    call.flags = static_cast<LONG>(dwOrigin);
    HRESULT hr;
    return Intercept(self, "Seek", &hr) ? hr : CountedStream::Of(self)->Seek(dlibMove, dwOrigin, plibNewPosition);
}

HRESULT STDMETHODCALLTYPE SetSize(Interface* self, ULARGE_INTEGER libNewSize) {
    HRESULT hr;
    return Intercept(self, "SetSize", &hr) ? hr : CountedStream::Of(self)->SetSize(libNewSize);
}

// The destination and the byte count are recorded as received.
HRESULT STDMETHODCALLTYPE CopyTo(Interface* self, IUnknown* pstm, ULARGE_INTEGER cb, ULARGE_INTEGER* pcbRead,
                                 ULARGE_INTEGER* pcbWritten) {
    Call& call = Record(self, "CopyTo");
    call.item = pstm;
    call.position = static_cast<int64_t>(cb.QuadPart);
    HRESULT hr;
    if (Intercept(self, "CopyTo", &hr)) return hr;
    Received received(MethodName(self, "CopyTo"));
    received.Add(pstm, "the destination stream");
    return CountedStream::Of(self)->CopyTo(reinterpret_cast<IStream*>(pstm), cb, pcbRead, pcbWritten);
}

HRESULT STDMETHODCALLTYPE Commit(Interface* self, DWORD grfCommitFlags) {
    HRESULT hr;
    return Intercept(self, "Commit", &hr) ? hr : CountedStream::Of(self)->Commit(grfCommitFlags);
}

HRESULT STDMETHODCALLTYPE Revert(Interface* self) {
    HRESULT hr;
    return Intercept(self, "Revert", &hr) ? hr : CountedStream::Of(self)->Revert();
}

HRESULT STDMETHODCALLTYPE LockRegion(Interface* self, ULARGE_INTEGER libOffset, ULARGE_INTEGER cb, DWORD dwLockType) {
    HRESULT hr;
    return Intercept(self, "LockRegion", &hr) ? hr : CountedStream::Of(self)->LockRegion(libOffset, cb, dwLockType);
}

HRESULT STDMETHODCALLTYPE UnlockRegion(Interface* self, ULARGE_INTEGER libOffset, ULARGE_INTEGER cb, DWORD dwLockType) {
    HRESULT hr;
    return Intercept(self, "UnlockRegion", &hr) ? hr : CountedStream::Of(self)->UnlockRegion(libOffset, cb, dwLockType);
}

HRESULT STDMETHODCALLTYPE Stat(Interface* self, STATSTG* pstatstg, DWORD grfStatFlag) {
    HRESULT hr;
    return Intercept(self, "Stat", &hr) ? hr : CountedStream::Of(self)->Stat(pstatstg, grfStatFlag);
}

// A clone the system makes is counted as well.
HRESULT STDMETHODCALLTYPE Clone(Interface* self, IUnknown** ppstm) {
    HRESULT hr;
    if (Intercept(self, "Clone", &hr)) return hr;
    IStream* clone = nullptr;
    hr = CountedStream::Of(self)->Clone(ppstm == nullptr ? nullptr : &clone);
    if (ppstm != nullptr) *ppstm = clone == nullptr ? nullptr : reinterpret_cast<IUnknown*>(CountedFileStream(clone));
    return hr;
}

const Slot* CountedStream::Vtable() {
    // clang-format off
    static const Slot* const vtbl = MakeVtable("IStream", 14, {
        {3, ToSlot(&Read)},
        {4, ToSlot(&Write)},
        {5, ToSlot(&Seek)},
        {6, ToSlot(&SetSize)},
        {7, ToSlot(&CopyTo)},
        {8, ToSlot(&Commit)},
        {9, ToSlot(&Revert)},
        {10, ToSlot(&LockRegion)},
        {11, ToSlot(&UnlockRegion)},
        {12, ToSlot(&Stat)},
        {13, ToSlot(&Clone)},
    });
    // clang-format on
    return vtbl;
}

}  // namespace

IStream* CountedFileStream(IStream* stream) {
    return stream == nullptr ? nullptr : reinterpret_cast<IStream*>((new CountedStream(stream))->Unknown());
}

}  // namespace simwia
