#pragma once

// The Qt widgets behind the controls. Only platform/ sees them.

#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include <functional>

namespace platform {

class Form;
class PictureBox;

// The top-level window: a menu bar, then the fixed client area.
class FormWidget : public QWidget {
  public:
    explicit FormWidget(Form& form);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    Form& form_;
};

// Draws the sunken three-dimensional border of a picture box, 2 pixels on each side.
void draw_sunken_border(QPainter& painter, const QRect& rect);

class PictureWidget : public QWidget {
  public:
    PictureWidget(PictureBox& box, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    PictureBox& box_;
};

// A frame: its back colour, an etched border and its caption in the top-left corner.
class FrameWidget : public QWidget {
  public:
    FrameWidget(const QString& caption, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString caption_;
};

// A progress bar: a sunken edge one pixel wide, the groove, and a fill from the left in
// proportion to the value, all in colours of the widget's palette (Dark and Light, Base,
// Highlight). Painting it takes a few solid fills, where the style's bar took a quarter of a frame.
class BarWidget : public QWidget {
  public:
    BarWidget(int minimum, int maximum, QWidget* parent);
    int value() const { return value_; }
    // A value between the minimum and the maximum; repaints the pixels the fill gains or loses.
    void set_value(int value);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QRect groove() const;            // inside the edge
    int fill_width(int value) const; // pixels

    int minimum_, maximum_, value_;
};

// A push button that Enter presses too while it has the focus, and that keeps the focus on the
// arrow keys.
class ButtonWidget : public QPushButton {
  public:
    using QPushButton::QPushButton;
    // A face of this colour inside the style's standard edge; an invalid colour: the style's face.
    void set_face(const QColor& face) { face_ = face; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor face_;
};

} // namespace platform
