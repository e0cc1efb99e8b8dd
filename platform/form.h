#pragma once

// A window of the forms run time: a top-level Qt window with a fixed client area in twips, a
// menu bar above it, and the controls of its definition.

#include "platform/definition.h"

#include <QPointer>
#include <QString>

#include <memory>
#include <span>
#include <vector>

class QWidget;
class QMenuBar;

namespace platform {

class Control;
class Timer;
class MenuItem;
class FormWidget;

class Form {
  public:
    explicit Form(const FormDef& def);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // The Load event, once, when the global instance is made.
    virtual void Form_Load() {}

    bool visible() const { return visible_; }
    // True shows the window (the caller goes on at once), false hides it; timers run on.
    void set_visible(bool visible);

    QString caption() const;
    QWidget* widget() const;    // the top-level window
    QWidget* client() const;    // its client area
    QMenuBar* menu_bar() const; // nullptr for a window without menus
    const FormDef& definition() const { return def_; }

    Control* find_control(const char* name) const;
    Timer* find_timer(const char* name) const;
    MenuItem* find_menu(const char* name) const;
    const std::vector<Control*>& controls() const { return controls_; }

    // Called by the run time.
    void load();
    void close_for_end();
    void close_from_frame();

    // Controls, timers and menu entries announce themselves when they are made.
    void enrol(Control& control);
    void enrol(Timer& timer);
    void enrol(MenuItem& item);

  protected:
    // Builds the controls from the definition's tables; every row must name an enrolled member.
    void build(std::span<const PlaceDef> places, std::span<const LookDef> looks,
               std::span<const TimerDef> timers = {}, std::span<const MenuDef> menus = {});

  private:
    void focus_first_control();

    FormDef def_;
    bool visible_ = false;
    bool shown_before_ = false; // placed and focused on its first showing
    std::unique_ptr<FormWidget> window_;
    QPointer<QWidget> client_;
    QPointer<QMenuBar> menu_bar_;
    std::vector<Control*> controls_; // in the order of the definition
    std::vector<Control*> tab_order_;
    std::vector<Timer*> timers_;
    std::vector<MenuItem*> menus_;
};

} // namespace platform
