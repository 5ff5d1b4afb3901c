#include "tests/host/Callables.h"

#include <stdexcept>
#include <utility>

namespace simhost {
namespace {

template <size_t>
using WordAt = uint64_t;

template <size_t... I>
uint64_t InvokeWith(const void* function, const uint64_t* args, std::index_sequence<I...>) {
    return reinterpret_cast<uint64_t (*)(WordAt<I>...)>(const_cast<void*>(function))(args[I]...);
}

template <size_t N>
uint64_t InvokeN(const void* function, const uint64_t* args) {
    return InvokeWith(function, args, std::make_index_sequence<N>{});
}

template <size_t... N>
uint64_t Dispatch(const void* function, const std::vector<uint64_t>& args, std::index_sequence<N...>) {
    static constexpr uint64_t (*kByCount[])(const void*, const uint64_t*) = {InvokeN<N>...};
    return kByCount[args.size()](function, args.data());
}

}  // namespace

std::vector<Callable> CallablesOf(const ClassView& cls) {
    std::vector<Callable> members;
    auto addMethod = [&](const MethodView& m, bool shared) {
        members.push_back({m.signature.name,
                           m.declaration,
                           m.function,
                           shared,
                           m.signature.params,
                           {},
                           m.signature.result,
                           m.signature.resultName});
        if (m.setter != nullptr) {
            Param value{"value", m.signature.result, m.signature.resultName, false, false};
            std::vector<Param> params = m.signature.params;
            params.push_back(value);
            members.push_back({m.signature.name, m.declaration + " (setter)", m.setter, shared, params, {}, CType::Void});
        }
    };
    for (const MethodView& m : cls.methods) addMethod(m, false);
    for (const MethodView& m : cls.sharedMethods) addMethod(m, true);
    auto addProperty = [&](const PropertyView& p, bool shared) {
        if (p.bound()) return;
        std::vector<uint64_t> leading;
        if (!shared) leading.push_back(static_cast<uint64_t>(p.param));
        Param value{"value", TypeOfHostName(p.type), p.type, false, false};
        if (p.getter != nullptr)
            members.push_back({p.name, p.name + " as " + p.type + " (getter)", p.getter, shared, {}, leading, value.type});
        if (p.setter != nullptr)
            members.push_back({p.name, p.name + " as " + p.type + " (setter)", p.setter, shared, {value}, leading, CType::Void});
    };
    for (const PropertyView& p : cls.properties) addProperty(p, false);
    for (const PropertyView& p : cls.sharedProperties) addProperty(p, true);
    return members;
}

uint64_t InvokeWords(const void* function, const std::vector<uint64_t>& args) {
    if (args.size() > 20) throw std::runtime_error("too many arguments");
    return Dispatch(function, args, std::make_index_sequence<21>{});
}

}  // namespace simhost
