#include "platform/runtime.h"

#include "platform/controls.h"
#include "platform/form.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>

namespace platform {

Runtime& Runtime::get() {
    static Runtime runtime;
    return runtime;
}

Runtime::Runtime() {
    end_hook_ = [](int status) { QCoreApplication::exit(status); };
    error_hook_ = [](const RuntimeError& error) {
        QMessageBox::critical(nullptr, QApplication::applicationName(), error.message());
    };
}

void Runtime::dispatch(const std::function<void()>& handler) {
    if (ended())
        return;
    try {
        handler();
    } catch (const ProgramEnd&) {
        finish(EndReason::EndStatement);
        return;
    } catch (const RuntimeError& raised) {
        // Ended first, so that nothing that happens while the report shows reaches a handler.
        reason_ = EndReason::RuntimeError;
        error_ = raised;
        error_hook_(raised);
        finish(EndReason::RuntimeError);
        return;
    }
}

void Runtime::end_program() {
    throw ProgramEnd{};
}

void Runtime::finish(EndReason reason) {
    reason_ = reason;
    for (Form* form : forms())
        form->close_for_end();
    end_hook_(exit_status());
}

Form* Runtime::find_instance(std::type_index type) const {
    for (const auto& [key, form] : instances_)
        if (key == type)
            return form.get();
    return nullptr;
}

void Runtime::add_instance(std::type_index type, std::unique_ptr<Form> form) {
    instances_.emplace_back(type, std::move(form));
}

std::vector<Form*> Runtime::forms() const {
    std::vector<Form*> all;
    for (const auto& entry : instances_)
        all.push_back(entry.second.get());
    return all;
}

void Runtime::reset() {
    // Destroyed in reverse order of making, the start-up window last.
    while (!instances_.empty())
        instances_.pop_back();
    reason_ = EndReason::Running;
    error_.reset();
}

int run_program(const QString& name, bool (*start_up)()) {
    QApplication::setApplicationName(name);
    // Only the end ends the program: a win hides the game window, and a closed window is the
    // game's affair.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setFont(default_font());
    Runtime& runtime = Runtime::get();
    if (start_up())
        QApplication::exec();
    const int status = runtime.exit_status();
    runtime.reset(); // the windows go before the application does
    return status;
}

} // namespace platform
