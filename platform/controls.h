#pragma once

// The controls of the forms run time. Each keeps its own state (twips rectangle, visibility,
// text) and pushes it to its Qt widget; handlers read and write only that state.

#include "platform/colour.h"
#include "platform/definition.h"

#include <QFont>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <vector>

namespace platform {

class Form;

// A font of the definitions, or the closest the machine has.
QFont stand_in_font(const char* family, double points);
// The toolkit's default font the windows were laid out for.
inline QFont default_font() {
    return stand_in_font("MS Sans Serif", 8);
}

class Control {
  public:
    Control(Form& form, const char* name);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const char* name() const { return name_; }
    Form& form() const { return form_; }

    // Control position, in twips relative to the container's client area. A put moves the
    // control at once; a get returns exactly the value put.
    float left() const { return left_; }
    float top() const { return top_; }
    float width() const { return width_; }
    float height() const { return height_; }
    void set_left(float twips);
    void set_top(float twips);

    bool visible() const { return visible_; }
    void set_visible(bool visible);

    int tab_index() const { return tab_index_; }
    QWidget* widget() const { return widget_; }
    // The pixel rectangle the control takes in its container.
    QRect pixel_rect() const;

    // Called by Form::build.
    void create(QWidget* parent, const PlaceDef& place, const LookDef& look);
    virtual bool takes_focus() const { return false; }

  protected:
    virtual QWidget* make_widget(QWidget* parent, const LookDef& look) = 0;
    void place_widget();

    Form& form_;
    const char* name_;
    float left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true;
    int tab_index_ = -1;
    QPointer<QWidget> widget_;
};

// A picture box: a sunken border 30 twips wide, and inside it a drawing area that shows the
// picture unscaled from its top-left corner, with the drawings made since the last clearing.
class PictureBox : public Control {
  public:
    using Control::Control;

    // The picture; nothing changes it later.
    void set_picture(const QImage& picture);
    QSize drawing_size() const { return canvas_.size(); } // pixels

    // The colour value at a point of the drawing area (twips from its top-left corner): that of
    // the drawings since the last clearing, else of the picture. -1 outside the drawing area.
    std::int32_t pixel_at(float x, float y) const;

    // A circle's outline, one pixel wide: the pixels whose centres lie within half a pixel of
    // the circle. Outlines of every whole radius about one centre therefore leave a solid disc.
    void draw_circle(float x, float y, float radius, Colour colour);
    // Removes every drawing; the picture stays.
    void clear_drawings();

    void set_focus();
    bool has_focus() const;
    bool takes_focus() const override { return true; }

    // KeyDown: key code and shift state, both by reference.
    std::function<void(std::int16_t& key_code, std::int16_t& shift)> on_key_down;
    // Delivers a key-down through the dispatch, as the window system does.
    void key_down(int key_code, int shift = 0);

    const QImage& canvas() const { return canvas_; }

  protected:
    QWidget* make_widget(QWidget* parent, const LookDef& look) override;

  private:
    void rebuild_canvas();
    // Asks once, when the running handler has returned, for the repaint of every canvas pixel
    // passed until then.
    void request_repaint(const QRect& pixels);
    // Row y of the picture from column x on, count pixels; the back colour beyond the picture.
    void copy_picture(int y, int x, int count, QRgb* to) const;

    QImage picture_; // the picture as given: 8-bit with a colour table, or 32-bit
    QImage canvas_;  // the drawing area as shown: picture and drawings, RGB32
    QRect dirty_;    // the canvas pixels that drawings have touched since the last clearing
    std::vector<double> column_sq_; // squared distances of columns -1..width to column_centre_
    double column_centre_ = -1e300; // twips
    QRect pending_;                 // canvas pixels to repaint once the handler has returned
    bool repaint_posted_ = false;
    Colour back_ = system_colour(15);
};

class Label : public Control {
  public:
    using Control::Control;
    QString caption() const { return caption_; }
    void set_caption(const QString& caption);

  protected:
    QWidget* make_widget(QWidget* parent, const LookDef& look) override;

  private:
    QString caption_;
};

class TextBox : public Control {
  public:
    using Control::Control;
    // The text shown, as the player may have edited it.
    QString text() const;
    void set_text(const QString& text);
    bool takes_focus() const override { return true; }

  protected:
    QWidget* make_widget(QWidget* parent, const LookDef& look) override;

  private:
    bool multi_line_ = false;
};

class Frame : public Control {
  public:
    using Control::Control;
    QString caption() const { return caption_; }

  protected:
    QWidget* make_widget(QWidget* parent, const LookDef& look) override;

  private:
    QString caption_;
};

class CommandButton : public Control {
  public:
    using Control::Control;
    QString caption() const { return caption_; }
    bool takes_focus() const override { return true; }

    std::function<void()> on_click;
    // A click through the dispatch, as the mouse gives it.
    void click();

  protected:
    QWidget* make_widget(QWidget* parent, const LookDef& look) override;

  private:
    QString caption_;
};

class ProgressBar : public Control {
  public:
    using Control::Control;
    static constexpr float kMin = 0;
    static constexpr float kMax = 15000;
    float value() const { return value_; }
    void set_value(float value);

  protected:
    QWidget* make_widget(QWidget* parent, const LookDef& look) override;

  private:
    float value_ = kMin;
};

// A timer: Qt ticks it while it is enabled, or, with manual timers, a test fires it.
class Timer {
  public:
    Timer(Form& form, const char* name);
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    const char* name() const { return name_; }
    int interval() const { return interval_; }
    bool enabled() const { return enabled_; }
    // True starts the timer, restarting its period if it runs already; false stops it.
    void set_enabled(bool enabled);

    std::function<void()> on_timer;
    // One tick through the dispatch; nothing when the timer is stopped.
    void fire();

    void setup(const TimerDef& def);

  private:
    const char* name_;
    int interval_ = 0;
    bool enabled_ = false;
    QTimer clock_;
};

// A menu title or an item under one.
class MenuItem {
  public:
    MenuItem(Form& form, const char* name);
    MenuItem(const MenuItem&) = delete;
    MenuItem& operator=(const MenuItem&) = delete;

    const char* name() const { return name_; }
    QString caption() const { return caption_; }
    QObject* qt_object() const { return object_; } // the QAction or QMenu

    std::function<void()> on_click;
    // A choice of the item through the dispatch.
    void click();

    void setup(const MenuDef& def, QObject* object);

  private:
    const char* name_;
    QString caption_;
    QPointer<QObject> object_;
};

} // namespace platform
