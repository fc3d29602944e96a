// What the IDE holds of a package: an object that passes calls on to the package until the
// package cuts it off. The IDE may keep it for longer than the package is sited, or even
// alive, so it refers to the package by callback only, never by a reference.
#pragma once

#include <utility>

namespace korvel::sdk {

template <class Callback>
class Relay {
public:
    explicit Relay(Callback callback) : callback_(std::move(callback)) {}

    // Calls that arrive later are answered without the package.
    void Disconnect() { callback_ = Callback(); }

protected:
    // A copy: the package may disconnect the relay while it is being called.
    Callback Current() const { return callback_; }

private:
    Callback callback_;
};

}  // namespace korvel::sdk
