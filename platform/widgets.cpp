#include "platform/widgets.h"

#include "platform/controls.h"
#include "platform/form.h"
#include "platform/geometry.h"
#include "platform/keys.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace platform {

namespace {
constexpr int kFaceInset = 2; // pixels: the button's edge, outline and inner light line
} // namespace

FormWidget::FormWidget(Form& form) : form_(form) {}

void FormWidget::closeEvent(QCloseEvent* event) {
    // The window system asked; the run time decides, and the window stays until it does.
    event->ignore();
    form_.close_from_frame();
}

void draw_sunken_border(QPainter& painter, const QRect& rect) {
    const QColor shadow(128, 128, 128), dark(64, 64, 64), face(212, 208, 200), light(255, 255, 255);
    const int l = rect.left(), t = rect.top(), r = rect.right(), b = rect.bottom();
    painter.setPen(shadow); // outer, top and left
    painter.drawLine(l, t, r - 1, t);
    painter.drawLine(l, t, l, b - 1);
    painter.setPen(light); // outer, bottom and right
    painter.drawLine(l, b, r, b);
    painter.drawLine(r, t, r, b);
    painter.setPen(dark); // inner, top and left
    painter.drawLine(l + 1, t + 1, r - 2, t + 1);
    painter.drawLine(l + 1, t + 1, l + 1, b - 2);
    painter.setPen(face); // inner, bottom and right
    painter.drawLine(l + 1, b - 1, r - 1, b - 1);
    painter.drawLine(r - 1, t + 1, r - 1, b - 1);
}

PictureWidget::PictureWidget(PictureBox& box, QWidget* parent) : QWidget(parent), box_(box) {
    setFocusPolicy(Qt::StrongFocus);
}

void PictureWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.setClipRegion(event->region());
    draw_sunken_border(painter, rect());
    const QImage& canvas = box_.canvas();
    const QRect area(kPictureBorder, kPictureBorder, width() - 2 * kPictureBorder,
                     height() - 2 * kPictureBorder);
    const QRect exposed = event->rect().intersected(area);
    if (!exposed.isEmpty())
        painter.drawImage(exposed.topLeft(), canvas,
                          exposed.translated(-kPictureBorder, -kPictureBorder));
}

void PictureWidget::keyPressEvent(QKeyEvent* event) {
    box_.key_down(virtual_key_code(*event, platform_has_x_keycodes()), shift_state(*event));
    event->accept();
}

void PictureWidget::mousePressEvent(QMouseEvent* event) {
    // A click gives a picture box the focus, as the window system does.
    setFocus(Qt::MouseFocusReason);
    QWidget::mousePressEvent(event);
}

FrameWidget::FrameWidget(const QString& caption, QWidget* parent)
    : QWidget(parent), caption_(caption) {
    setAutoFillBackground(true);
}

void FrameWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QFontMetrics metrics(font());
    const int line = metrics.height() / 2;
    const QRect box = rect().adjusted(0, line, -1, -1);
    painter.setPen(QColor(128, 128, 128)); // etched: a shadow line with a light one inside
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    painter.setPen(QColor(255, 255, 255));
    painter.drawRect(box.adjusted(1, 1, 0, 0));
    if (!caption_.isEmpty()) {
        const QRect text(8, 0, metrics.horizontalAdvance(caption_) + 4, metrics.height());
        painter.fillRect(text, palette().color(QPalette::Window));
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(text, Qt::AlignCenter, caption_);
    }
}

BarWidget::BarWidget(int minimum, int maximum, QWidget* parent)
    : QWidget(parent), minimum_(minimum), maximum_(maximum), value_(minimum) {
    setAttribute(Qt::WA_OpaquePaintEvent); // every pixel is painted
}

QRect BarWidget::groove() const {
    return rect().adjusted(1, 1, -1, -1);
}

int BarWidget::fill_width(int value) const {
    const double share = double(value - minimum_) / double(maximum_ - minimum_);
    return static_cast<int>(std::lround(std::clamp(share, 0.0, 1.0) * groove().width()));
}

void BarWidget::set_value(int value) {
    const int before = fill_width(value_), after = fill_width(value);
    value_ = value;
    if (before != after) // at most a pixel at a step, but for the first
        update(QRect(groove().left() + std::min(before, after), groove().top(),
                     std::abs(after - before), groove().height()));
}

void BarWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& colours = palette();
    const QRect edge = rect(), inside = groove();
    // Sunken: the shadow along the top and left, the light along the bottom and right.
    const QColor shadow = colours.color(QPalette::Dark), light = colours.color(QPalette::Light);
    painter.fillRect(edge.left(), edge.top(), edge.width() - 1, 1, shadow);
    painter.fillRect(edge.left(), edge.top(), 1, edge.height() - 1, shadow);
    painter.fillRect(edge.left(), edge.bottom(), edge.width(), 1, light);
    painter.fillRect(edge.right(), edge.top(), 1, edge.height(), light);
    const int fill = fill_width(value_);
    painter.fillRect(inside.left(), inside.top(), fill, inside.height(),
                     colours.color(QPalette::Highlight));
    painter.fillRect(inside.left() + fill, inside.top(), inside.width() - fill, inside.height(),
                     colours.color(QPalette::Base));
}

void ButtonWidget::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        animateClick();
        return;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        // A button keeps the focus on the arrows (Qt would pass it on); the maze gets it back
        // from its focus timer.
        event->accept();
        return;
    default:
        QPushButton::keyPressEvent(event);
    }
}

void ButtonWidget::paintEvent(QPaintEvent* event) {
    if (!face_.isValid()) {
        QPushButton::paintEvent(event);
        return;
    }
    // The style's edge in the standard colours, then the face in exactly its colour (a style may
    // shade a face colour, and lightens a dark one), then the caption. The edge shows the focus
    // and the press as on every button.
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    painter.drawControl(QStyle::CE_PushButtonBevel, option);
    painter.fillRect(rect().adjusted(kFaceInset, kFaceInset, -kFaceInset, -kFaceInset), face_);
    painter.drawControl(QStyle::CE_PushButtonLabel, option);
}

} // namespace platform
