// Argument values of every declared type, for calling a class's members the way scripts do: ordinary values (what a
// script passes when it means no harm; strings named after what they carry get one that lets the member reach its
// platform calls) and the worst values of each type (nil, empty, 70,000 characters, malformed text, the 64-bit
// extremes, windows and folder items without a handle, nil and script-made objects, callbacks whose Handle a script
// changed). Each value is made inside a CallArguments, which gives back what it made after the call.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tests/host/Callables.h"

namespace simhost {

using Word = uint64_t;

struct Value {
    std::string label;
    std::function<Word(CallArguments&)> make;
    bool worst = true;  // a value the member may refuse (an exception is allowed only then)
};

extern const Value kNil;
extern const char* const kHandleChanged;  // the label of a callback whose Handle a script changed

bool Is(const Param& param, const char* typeName);
Value Ordinary(SimHost& host, const Param& param);
std::vector<Value> Worst(SimHost& host, const Param& param);

}  // namespace simhost
