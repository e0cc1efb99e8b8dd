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
