#pragma once

// The one dispatch through which every event reaches a handler, the end of the program, the
// report of run-time errors, and the global instances of the windows.

#include "platform/errors.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <typeindex>
#include <vector>

namespace platform {

class Form;

// Why the program ended; tests read it, the program turns it into its exit status.
enum class EndReason { Running, EndStatement, RuntimeError };

class Runtime {
  public:
    static Runtime& get();

    // Runs one handler to its end. The end statement and run-time errors stop it there: an
    // error is reported, and either way the program ends. After the end every event is dropped.
    void dispatch(const std::function<void()>& handler);

    // The end statement: nothing after it runs.
    [[noreturn]] void end_program();

    bool ended() const { return reason_ != EndReason::Running; }
    EndReason end_reason() const { return reason_; }
    int exit_status() const { return reason_ == EndReason::RuntimeError ? 1 : 0; }
    const std::optional<RuntimeError>& error() const { return error_; }

    // What the end and an error report do. The program shows a message box and leaves the event
    // loop; tests put in hooks that only record.
    void set_end_hook(std::function<void(int status)> hook) { end_hook_ = std::move(hook); }
    void set_error_hook(std::function<void(const RuntimeError&)> hook) {
        error_hook_ = std::move(hook);
    }

    // Timers tick by Qt's clock, or only when a test fires them.
    bool manual_timers() const { return manual_timers_; }
    void set_manual_timers(bool manual) { manual_timers_ = manual; }

    // The global instances of the windows, made on first use.
    Form* find_instance(std::type_index type) const;
    void add_instance(std::type_index type, std::unique_ptr<Form> form);
    std::vector<Form*> forms() const;

    // Back to a fresh run: destroys every window and forgets the end. For tests.
    void reset();

  private:
    Runtime();
    void finish(EndReason reason);

    EndReason reason_ = EndReason::Running;
    std::optional<RuntimeError> error_;
    bool manual_timers_ = false;
    std::function<void(int)> end_hook_;
    std::function<void(const RuntimeError&)> error_hook_;
    std::vector<std::pair<std::type_index, std::unique_ptr<Form>>> instances_;
};

// The end statement.
[[noreturn]] inline void end_program() {
    Runtime::get().end_program();
}

// The global instance of window T, made hidden (and loaded) on first use.
template <class T> T& instance() {
    Runtime& runtime = Runtime::get();
    if (Form* existing = runtime.find_instance(typeid(T)))
        return static_cast<T&>(*existing);
    auto made = std::make_unique<T>();
    T& form = *made;
    runtime.add_instance(typeid(T), std::move(made));
    form.load();
    return form;
}

// Starts the program with its start-up window: made, loaded, then shown with the focus on its
// first control in the tab order. Returns false when the program ended during start-up.
template <class T> bool start() {
    bool started = false;
    Runtime::get().dispatch([&] {
        T& form = instance<T>();
        form.set_visible(true);
        started = true;
    });
    return started && !Runtime::get().ended();
}

// The program's life once its QApplication is made: the application's name (the title of the
// error box), a default font, start-up, the event loop until the end, then the windows destroyed
// before the application goes. Returns the exit status: 0 at the end statement, 1 after a
// run-time error.
int run_program(const QString& name, bool (*start_up)());
template <class T> int run_program(const QString& name) {
    return run_program(name, &start<T>);
}

} // namespace platform
