#include "platform/controls.h"

#include "platform/form.h"
#include "platform/geometry.h"
#include "platform/runtime.h"
#include "platform/widgets.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace platform {

namespace {

QFont make_font(const FontDef& def) {
    QFont font = stand_in_font(def.family, def.points);
    font.setWeight(def.weight >= 700 ? QFont::Bold : QFont::Normal);
    font.setItalic(def.italic);
    return font;
}

// A colour the definition leaves unset is the toolkit's default for this kind of control, not its
// container's: Qt hands a child its parent's palette, and an edge drawn from a dark container's
// colours vanishes into it. Every role is marked set, so nothing is inherited.
void apply_colours(QWidget* widget, const LookDef& look, QPalette::ColorRole back_role,
                   QPalette::ColorRole fore_role) {
    QPalette palette = QApplication::palette(widget);
    palette.setResolveMask(~QPalette::ResolveMask(0));
    if (look.back)
        palette.setColor(back_role, to_qcolor(*look.back));
    if (look.fore)
        palette.setColor(fore_role, to_qcolor(*look.fore));
    widget->setPalette(palette);
}

} // namespace

QFont stand_in_font(const char* family, double points) {
    // The definitions name fonts of another system. A design of the same face comes first where
    // the machine has one (URW's P052 is a Palatino, with Cyrillic); else Liberation's fonts, whose
    // widths are closest, so the texts fit the boxes laid out for them; DejaVu is the last resort.
    const bool sans = std::strstr(family, "Sans") != nullptr;
    QStringList families{QString::fromUtf8(family)};
    if (std::strstr(family, "Palatino"))
        families << QStringLiteral("P052");
    families << (sans ? QStringLiteral("Liberation Sans") : QStringLiteral("Liberation Serif"))
             << (sans ? QStringLiteral("DejaVu Sans") : QStringLiteral("DejaVu Serif"));
    QFont font;
    font.setFamilies(families);
    font.setStyleHint(sans ? QFont::SansSerif : QFont::Serif);
    font.setPointSizeF(points);
    return font;
}

// --- Control -----------------------------------------------------------------------------

Control::Control(Form& form, const char* name) : form_(form), name_(name) {
    form.enrol(*this);
}

Control::~Control() {
    delete widget_; // already gone when its container went first
}

void Control::create(QWidget* parent, const PlaceDef& place, const LookDef& look) {
    left_ = place.left;
    top_ = place.top;
    width_ = place.width;
    height_ = place.height;
    tab_index_ = place.tab_index;
    visible_ = look.visible;
    widget_ = make_widget(parent, look);
    if (look.font.family) // else the toolkit's default font
        widget_->setFont(make_font(look.font));
    place_widget();
    widget_->setVisible(visible_);
}

QRect Control::pixel_rect() const {
    // The far edges are summed in double: a float sum can round up onto the next pixel and
    // make the box a pixel larger at some fractional positions.
    const int x = twips_to_pixels(left_), y = twips_to_pixels(top_);
    return QRect(x, y, twips_to_pixels(double(left_) + width_) - x,
                 twips_to_pixels(double(top_) + height_) - y);
}

void Control::place_widget() {
    if (!widget_)
        return;
    // Qt repaints the whole of the rectangles a widget leaves and takes when other widgets lie in
    // front of it, and those widgets with it: for the maze under the status panel, the whole
    // window at every step. With the widget's own updates held during the move, Qt repaints only
    // what the move bares in the container, and the widget's update when they are released
    // leaves out what opaque widgets in front of it cover: the step's repaint takes a third.
    const bool hold = widget_->isVisible() && widget_->updatesEnabled();
    if (hold)
        widget_->setUpdatesEnabled(false);
    widget_->setGeometry(pixel_rect());
    if (hold)
        widget_->setUpdatesEnabled(true);
}

void Control::set_left(float twips) {
    left_ = twips;
    place_widget();
}

void Control::set_top(float twips) {
    top_ = twips;
    place_widget();
}

void Control::set_visible(bool visible) {
    visible_ = visible;
    if (widget_)
        widget_->setVisible(visible);
}

// --- PictureBox --------------------------------------------------------------------------

QWidget* PictureBox::make_widget(QWidget* parent, const LookDef& look) {
    if (look.back)
        back_ = *look.back;
    auto* widget = new PictureWidget(*this, parent);
    const QSize area(twips_to_pixels(width_) - 2 * kPictureBorder,
                     twips_to_pixels(height_) - 2 * kPictureBorder);
    canvas_ = QImage(area.expandedTo(QSize(0, 0)), QImage::Format_RGB32);
    rebuild_canvas();
    return widget;
}

void PictureBox::set_picture(const QImage& picture) {
    // An 8-bit picture stays as it is (a quarter of the memory); others become 32-bit.
    picture_ = picture.format() == QImage::Format_Indexed8
                   ? picture
                   : picture.convertToFormat(QImage::Format_RGB32);
    rebuild_canvas();
    if (widget_)
        widget_->update();
}

void PictureBox::copy_picture(int y, int x, int count, QRgb* to) const {
    const QRgb back = to_qcolor(back_).rgb();
    const int inside = y < picture_.height() ? std::clamp(picture_.width() - x, 0, count) : 0;
    if (inside > 0 && picture_.format() == QImage::Format_Indexed8) {
        const uchar* from = picture_.constScanLine(y) + x;
        const QList<QRgb> table = picture_.colorTable();
        for (int i = 0; i < inside; ++i)
            to[i] = table[from[i]];
    } else if (inside > 0) {
        std::memcpy(to, reinterpret_cast<const QRgb*>(picture_.constScanLine(y)) + x,
                    static_cast<size_t>(inside) * sizeof(QRgb));
    }
    std::fill(to + inside, to + count, back);
}

void PictureBox::rebuild_canvas() {
    if (canvas_.isNull())
        return;
    for (int y = 0; y < canvas_.height(); ++y)
        copy_picture(y, 0, canvas_.width(), reinterpret_cast<QRgb*>(canvas_.scanLine(y)));
    dirty_ = QRect();
}

std::int32_t PictureBox::pixel_at(float x, float y) const {
    const int px = twips_to_pixels(x), py = twips_to_pixels(y);
    if (px < 0 || py < 0 || px >= canvas_.width() || py >= canvas_.height())
        return -1;
    const auto* row = reinterpret_cast<const QRgb*>(canvas_.constScanLine(py));
    return colour_from_rgb(row[px]);
}

void PictureBox::draw_circle(float x, float y, float radius, Colour colour) {
    // A pixel is on the outline when its centre lies at a distance d from the circle's centre
    // with radius - 7.5 <= d < radius + 7.5 (twips): a ring one pixel wide. In a row, d grows
    // steadily away from the column nearest the centre, so the pixels with d < radius + 7.5 form
    // one run of columns and those with d < radius - 7.5 a run inside it: the row's part of the
    // ring is the one less the other. From row to row a run only widens (towards the centre
    // row) or only narrows, so each end is stepped from where it was with the same test; a
    // circle costs its rows and its pixels, with no square root or division per row.
    const double cx = x, cy = y, r = radius;
    const double half = kTwipsPerPixel / 2.0;
    const double outer = r + half, inner = r - half;
    const double outer_sq = outer * outer;
    const double inner_sq = inner > 0 ? inner * inner : -1.0;
    const int width = canvas_.width(), height = canvas_.height();
    const int row_first = std::max(0, twips_to_pixels(cy - outer) - 1);
    const int row_last = std::min(height - 1, twips_to_pixels(cy + outer) + 1);
    if (row_first > row_last || width == 0 || outer <= 0)
        return;
    const QRgb rgb = rgb_from_colour(colour);
    const auto centre_of = [](int p) { return p * double(kTwipsPerPixel) + kTwipsPerPixel / 2.0; };
    const auto column_sq = [&](int px) {
        const double dx = centre_of(px) - cx;
        return dx * dx;
    };
    // Runs are followed over columns -1 to width, one past each edge: a run that goes on beyond
    // an edge is cut there, so no end strays far from the canvas.
    const int lo = -1, hi = width;
    int nearest =
        static_cast<int>(std::clamp(std::floor(cx / kTwipsPerPixel), double(lo), double(hi)));
    for (const int p : {nearest - 1, nearest + 1}) // the quotient may round across an edge
        if (p >= lo && p <= hi && column_sq(p) < column_sq(nearest))
            nearest = p;
    // The squared horizontal distances of every column, kept while the centre's x stays: the
    // 800 circles of a blast share one centre.
    if (column_centre_ != cx || column_sq_.size() != static_cast<std::size_t>(hi - lo + 1)) {
        column_sq_.resize(static_cast<std::size_t>(hi - lo + 1));
        for (int p = lo; p <= hi; ++p)
            column_sq_[static_cast<std::size_t>(p - lo)] = column_sq(p);
        column_centre_ = cx;
    }
    const auto dx_sq = [&](int px) { return column_sq_[static_cast<std::size_t>(px - lo)]; };

    struct Run {
        int left = 0, right = -1;
        bool open = false; // the run was there in the row before
    };
    const auto follow = [&](Run& run, double dy_sq, double before_sq, double limit) {
        const auto in = [&](int p) { return dx_sq(p) + dy_sq < limit; };
        if (!run.open) {
            run = {nearest, nearest, true};
        } else if (dy_sq > before_sq) { // narrowing; nearest is in, so each end stops there
            while (!in(run.left))
                ++run.left;
            while (!in(run.right))
                --run.right;
            return;
        }
        while (run.left > lo && in(run.left - 1))
            --run.left;
        while (run.right < hi && in(run.right + 1))
            ++run.right;
    };
    auto* const pixels = reinterpret_cast<QRgb*>(canvas_.bits()); // one detach for all rows
    const qsizetype stride = canvas_.bytesPerLine() / qsizetype(sizeof(QRgb));
    Run ring, hole;
    double before_sq = 0;
    int touched_left = width, touched_right = -1, touched_top = height, touched_bottom = -1;
    for (int py = row_first; py <= row_last; ++py) {
        const double dy = centre_of(py) - cy;
        const double dy_sq = dy * dy;
        const double nearest_sq = dx_sq(nearest) + dy_sq;
        if (!(nearest_sq < outer_sq)) {
            ring.open = hole.open = false;
            continue;
        }
        QRgb* const line = pixels + py * stride;
        const auto paint = [&](int from, int to) {
            from = std::max(from, 0);
            to = std::min(to, width - 1);
            if (from > to)
                return;
            // Two pixels a store: most spans of a one-pixel ring are one or two pixels long,
            // where a vectorised fill would cost more than it saves.
            for (int p = from; p <= to; p += 2) {
                line[p] = rgb;
                line[std::min(p + 1, to)] = rgb;
            }
            touched_left = std::min(touched_left, from);
            touched_right = std::max(touched_right, to);
            touched_top = std::min(touched_top, py);
            touched_bottom = std::max(touched_bottom, py);
        };
        follow(ring, dy_sq, before_sq, outer_sq);
        if (nearest_sq < inner_sq) {
            follow(hole, dy_sq, before_sq, inner_sq);
            paint(ring.left, hole.left - 1);
            paint(hole.right + 1, ring.right);
        } else {
            hole.open = false;
            paint(ring.left, ring.right);
        }
        before_sq = dy_sq;
    }
    if (touched_right < 0)
        return;
    const QRect touched(QPoint(touched_left, touched_top), QPoint(touched_right, touched_bottom));
    dirty_ = dirty_.united(touched);
    request_repaint(touched);
}

void PictureBox::request_repaint(const QRect& pixels) {
    // A blast draws 800 circles about one centre, their boxes growing a pixel every few radii,
    // before anything is painted. The boxes are gathered and asked for in one request once the
    // handler has returned: Qt's bookkeeping for each would cost more than the circle.
    pending_ = pending_.united(pixels);
    if (repaint_posted_ || !widget_)
        return;
    repaint_posted_ = true;
    QMetaObject::invokeMethod(
        widget_,
        [this] {
            repaint_posted_ = false;
            widget_->update(pending_.translated(kPictureBorder, kPictureBorder));
            pending_ = QRect();
        },
        Qt::QueuedConnection);
}

void PictureBox::clear_drawings() {
    if (dirty_.isEmpty())
        return;
    for (int y = dirty_.top(); y <= dirty_.bottom(); ++y)
        copy_picture(y, dirty_.left(), dirty_.width(),
                     reinterpret_cast<QRgb*>(canvas_.scanLine(y)) + dirty_.left());
    if (widget_)
        widget_->update(dirty_.translated(kPictureBorder, kPictureBorder));
    dirty_ = QRect();
}

void PictureBox::set_focus() {
    // Sets the window's focus control without taking the activation from another window.
    if (widget_)
        widget_->setFocus(Qt::OtherFocusReason);
}

bool PictureBox::has_focus() const {
    return widget_ && widget_->window()->focusWidget() == widget_;
}

void PictureBox::key_down(int key_code, int shift) {
    // The window system gives keys only to a control of a shown window; Qt would still hand a
    // key sent to a hidden one to its widget.
    if (!visible_ || !form_.visible())
        return;
    Runtime::get().dispatch([&] {
        if (!on_key_down)
            return;
        auto code = static_cast<std::int16_t>(key_code);
        auto state = static_cast<std::int16_t>(shift);
        on_key_down(code, state);
    });
}

// --- Label, TextBox, Frame, CommandButton, ProgressBar ------------------------------------

QWidget* Label::make_widget(QWidget* parent, const LookDef& look) {
    auto* label = new QLabel(parent);
    label->setAutoFillBackground(true);
    label->setWordWrap(true);
    label->setMargin(0);
    label->setAlignment(Qt::AlignTop |
                        ((look.options & kCentred) ? Qt::AlignHCenter : Qt::AlignLeft));
    apply_colours(label, look, QPalette::Window, QPalette::WindowText);
    caption_ = look.text ? QString::fromUtf8(look.text) : QString();
    label->setText(caption_);
    label->setTextFormat(Qt::PlainText);
    return label;
}

void Label::set_caption(const QString& caption) {
    caption_ = caption;
    if (auto* label = qobject_cast<QLabel*>(widget_.data()))
        label->setText(caption);
}

QWidget* TextBox::make_widget(QWidget* parent, const LookDef& look) {
    const QString text = look.text ? QString::fromUtf8(look.text) : QString();
    multi_line_ = (look.options & kMultiLine) != 0;
    QWidget* widget;
    if (multi_line_) {
        auto* edit = new QPlainTextEdit(parent);
        edit->setPlainText(text);
        edit->setVerticalScrollBarPolicy(
            (look.options & kVerticalScrollBar) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        edit->setTabChangesFocus(true);
        widget = edit;
    } else {
        auto* edit = new QLineEdit(text, parent);
        if (look.options & kCentred)
            edit->setAlignment(Qt::AlignCenter);
        widget = edit;
    }
    apply_colours(widget, look, QPalette::Base, QPalette::Text);
    return widget;
}

QString TextBox::text() const {
    if (auto* edit = qobject_cast<QLineEdit*>(widget_.data()))
        return edit->text();
    if (auto* edit = qobject_cast<QPlainTextEdit*>(widget_.data()))
        return edit->toPlainText();
    return {};
}

void TextBox::set_text(const QString& text) {
    if (auto* edit = qobject_cast<QLineEdit*>(widget_.data()))
        edit->setText(text);
    else if (auto* edit = qobject_cast<QPlainTextEdit*>(widget_.data()))
        edit->setPlainText(text);
}

QWidget* Frame::make_widget(QWidget* parent, const LookDef& look) {
    caption_ = look.text ? QString::fromUtf8(look.text) : QString();
    auto* frame = new FrameWidget(caption_, parent);
    apply_colours(frame, look, QPalette::Window, QPalette::WindowText);
    return frame;
}

QWidget* CommandButton::make_widget(QWidget* parent, const LookDef& look) {
    caption_ = look.text ? QString::fromUtf8(look.text) : QString();
    auto* button = new ButtonWidget(caption_, parent);
    button->setAutoDefault(false);
    button->setDefault(false);
    // A button of the default style shows the toolkit's face, whatever back colour is stored;
    // one with a coloured face shows its back colour inside the standard edge.
    LookDef shown = look;
    shown.back.reset();
    apply_colours(button, shown, QPalette::Button, QPalette::ButtonText);
    if ((look.options & kColouredFace) && look.back)
        button->set_face(to_qcolor(*look.back));
    QObject::connect(button, &QPushButton::clicked, [this] { click(); });
    return button;
}

void CommandButton::click() {
    Runtime::get().dispatch([&] {
        if (on_click)
            on_click();
    });
}

QWidget* ProgressBar::make_widget(QWidget* parent, const LookDef& look) {
    auto* bar = new BarWidget(static_cast<int>(kMin), static_cast<int>(kMax), parent);
    apply_colours(bar, look, QPalette::Window, QPalette::WindowText);
    return bar;
}

void ProgressBar::set_value(float value) {
    value_ = value;
    if (widget_) // the BarWidget made above
        static_cast<BarWidget*>(widget_.data())
            ->set_value(static_cast<int>(std::lround(std::clamp(value, kMin, kMax))));
}

// --- Timer, MenuItem ---------------------------------------------------------------------

Timer::Timer(Form& form, const char* name) : name_(name) {
    form.enrol(*this);
    clock_.setTimerType(Qt::CoarseTimer);
    QObject::connect(&clock_, &QTimer::timeout, [this] { fire(); });
}

void Timer::setup(const TimerDef& def) {
    interval_ = def.interval;
    clock_.setInterval(def.interval);
    set_enabled(def.enabled);
}

void Timer::set_enabled(bool enabled) {
    enabled_ = enabled;
    if (enabled && !Runtime::get().manual_timers())
        clock_.start(); // restarts the period when it runs already
    else
        clock_.stop();
}

void Timer::fire() {
    if (!enabled_)
        return;
    Runtime::get().dispatch([&] {
        if (on_timer)
            on_timer();
    });
}

MenuItem::MenuItem(Form& form, const char* name) : name_(name) {
    form.enrol(*this);
}

void MenuItem::setup(const MenuDef& def, QObject* object) {
    caption_ = QString::fromUtf8(def.caption);
    object_ = object;
    if (auto* action = qobject_cast<QAction*>(object))
        QObject::connect(action, &QAction::triggered, [this] { click(); });
}

void MenuItem::click() {
    Runtime::get().dispatch([&] {
        if (on_click)
            on_click();
    });
}

} // namespace platform
