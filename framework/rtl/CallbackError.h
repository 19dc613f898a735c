// Carrying an exception out of a system callback. No C++ exception may unwind through the
// operating system's frames (an enumeration, a resource walk), so the callback runs its work
// through Run, which catches and asks the enumeration to stop; the caller rethrows once the
// system call has returned, where unwinding is safe again.
//
//     BOOL CALLBACK AddName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) {
//         auto* walk = reinterpret_cast<TWalk*>(param);
//         return walk->Error.Run([&] { walk->Names.push_back(name); return true; });
//     }
//     ...EnumResourceNamesW(..., AddName, reinterpret_cast<LONG_PTR>(&walk));
//     walk.Error.Rethrow();
#pragma once

#include <exception>

class TCallbackError {
public:
    // step returns whether to go on; an exception is kept and stops the walk.
    template <class F>
    bool Run(F&& step) noexcept {
        try {
            return step();
        } catch (...) {
            error_ = std::current_exception();
            return false;
        }
    }
    // Raises the kept exception, if any.
    void Rethrow() const {
        if (error_) std::rethrow_exception(error_);
    }

private:
    std::exception_ptr error_;
};
