// Method pointers: an object and one of its member functions, comparable and copyable, so an
// event can be tested, saved, replaced and restored (including a window procedure).
#pragma once

#include <cstring>
#include <type_traits>
#include <utility>

#include "framework/rtl/System.h"

// The code half of a method pointer: a thunk that knows the member function's class and
// signature, and the member function pointer's bytes.
struct TMethodCode {
    void (*Thunk)() = nullptr;
    alignas(void*) unsigned char Member[2 * sizeof(void*)] = {};

    bool operator==(const TMethodCode&) const = default;
};

// An untyped method pointer; equal when both the object and the code are equal.
struct TMethodValue {
    void* Data = nullptr;
    TMethodCode Code;

    bool operator==(const TMethodValue&) const = default;
};

template <class Signature>
class TMethod;

template <class R, class... Args>
class TMethod<R(Args...)> {
public:
    using Signature = R(Args...);

    TMethod() = default;
    TMethod(std::nullptr_t) {}

    template <class T, class C>
        requires std::is_base_of_v<C, T>
    TMethod(T* object, R (C::*method)(Args...)) {
        if (object == nullptr || method == nullptr) return;
        value_.Data = static_cast<void*>(static_cast<C*>(object));
        value_.Code = CodeOf(method);
    }

    // The code half alone, for binding the same method to objects later.
    template <class C>
    static TMethodCode CodeOf(R (C::*method)(Args...)) {
        static_assert(sizeof(method) <= sizeof(TMethodCode::Member));
        TMethodCode code;
        code.Thunk = reinterpret_cast<void (*)()>(&Call<C>);
        std::memcpy(code.Member, &method, sizeof(method));
        return code;
    }

    // Rebuilds a method from an untyped value that came from a TMethod of the same signature.
    static TMethod FromValue(const TMethodValue& value) {
        TMethod m;
        m.value_ = value;
        return m;
    }

    bool Assigned() const { return value_.Code.Thunk != nullptr; }
    explicit operator bool() const { return Assigned(); }
    void* Data() const { return value_.Data; }
    const TMethodCode& Code() const { return value_.Code; }
    const TMethodValue& Value() const { return value_; }

    // Calling an unassigned method does nothing and returns R's default value.
    R operator()(Args... args) const {
        if (!Assigned()) return R();
        auto thunk = reinterpret_cast<R (*)(void*, const TMethodCode&, Args...)>(value_.Code.Thunk);
        return thunk(value_.Data, value_.Code, std::forward<Args>(args)...);
    }

    bool operator==(const TMethod&) const = default;
    bool operator==(std::nullptr_t) const { return !Assigned(); }

private:
    template <class C>
    static R Call(void* data, const TMethodCode& code, Args... args) {
        R (C::*method)(Args...);
        std::memcpy(&method, code.Member, sizeof(method));
        return (static_cast<C*>(data)->*method)(std::forward<Args>(args)...);
    }

    TMethodValue value_;
};

using TNotifyEvent = TMethod<void(TObject* Sender)>;
