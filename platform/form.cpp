#include "platform/form.h"

#include "platform/controls.h"
#include "platform/geometry.h"
#include "platform/runtime.h"
#include "platform/widgets.h"

#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace platform {

namespace {

template <class T> T* find_by_name(const std::vector<T*>& items, const char* name) {
    for (T* item : items)
        if (std::strcmp(item->name(), name) == 0)
            return item;
    return nullptr;
}

[[noreturn]] void definition_fault(const char* what, const char* name) {
    throw std::logic_error(std::string("window definition: ") + what + " '" + name + "'");
}

} // namespace

Form::Form(const FormDef& def) : def_(def), window_(std::make_unique<FormWidget>(*this)) {
    window_->setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowCloseButtonHint);
    window_->setWindowTitle(QString::fromUtf8(def.caption));
    auto* layout = new QVBoxLayout(window_.get());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    client_ = new QWidget(window_.get());
    client_->setFixedSize(twips_to_pixels(def.client_width), twips_to_pixels(def.client_height));
    client_->setAutoFillBackground(true);
    QPalette palette = client_->palette();
    palette.setColor(QPalette::Window, to_qcolor(def.back));
    client_->setPalette(palette);
    layout->addWidget(client_);
}

Form::~Form() = default;

QString Form::caption() const {
    return window_->windowTitle();
}

QWidget* Form::widget() const {
    return window_.get();
}

QWidget* Form::client() const {
    return client_;
}

QMenuBar* Form::menu_bar() const {
    return menu_bar_;
}

void Form::enrol(Control& control) {
    controls_.push_back(&control);
}

void Form::enrol(Timer& timer) {
    timers_.push_back(&timer);
}

void Form::enrol(MenuItem& item) {
    menus_.push_back(&item);
}

Control* Form::find_control(const char* name) const {
    return find_by_name(controls_, name);
}

Timer* Form::find_timer(const char* name) const {
    return find_by_name(timers_, name);
}

MenuItem* Form::find_menu(const char* name) const {
    return find_by_name(menus_, name);
}

void Form::build(std::span<const PlaceDef> places, std::span<const LookDef> looks,
                 std::span<const TimerDef> timers, std::span<const MenuDef> menus) {
    if (places.size() != controls_.size())
        definition_fault("control count differs from the members of", def_.caption);
    std::vector<Control*> ordered;
    for (const PlaceDef& place : places) {
        Control* control = find_control(place.name);
        if (!control)
            definition_fault("no member for control", place.name);
        const LookDef* look = nullptr;
        for (const LookDef& candidate : looks)
            if (std::strcmp(candidate.name, place.name) == 0)
                look = &candidate;
        if (!look)
            definition_fault("no look for control", place.name);
        QWidget* parent = client_;
        if (place.container) {
            Control* container = find_control(place.container);
            if (!container || !container->widget())
                definition_fault("container not made before", place.name);
            parent = container->widget();
        }
        control->create(parent, place, *look);
        ordered.push_back(control);
    }
    controls_ = ordered;
    // An earlier control stands in front of the later ones: raise from the last to the first.
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it)
        (*it)->widget()->raise();
    // A picture box paints every pixel of its rectangle, but only one at the bottom of its
    // container tells Qt so, which spares the background fill beneath it. An opaque box in front
    // of another control is cut out of what that control may paint (the square out of the maze),
    // and Qt draws an image into a region of several rectangles span by span on pooled threads,
    // where into one rectangle it copies rows: the maze's repaint after a step takes twice as long.
    for (Control* control : controls_)
        if (dynamic_cast<PictureBox*>(control)) {
            QWidget* widget = control->widget();
            const QList<QWidget*> siblings =
                widget->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
            widget->setAttribute(Qt::WA_OpaquePaintEvent, siblings.constFirst() == widget);
        }

    for (Control* control : controls_) {
        if (control->takes_focus())
            tab_order_.push_back(control);
        else
            control->widget()->setFocusPolicy(Qt::NoFocus);
    }
    std::stable_sort(tab_order_.begin(), tab_order_.end(),
                     [](Control* a, Control* b) { return a->tab_index() < b->tab_index(); });
    for (size_t i = 1; i < tab_order_.size(); ++i)
        QWidget::setTabOrder(tab_order_[i - 1]->widget(), tab_order_[i]->widget());

    for (const TimerDef& def : timers) {
        Timer* timer = find_timer(def.name);
        if (!timer)
            definition_fault("no member for timer", def.name);
        timer->setup(def);
    }

    if (!menus.empty()) {
        menu_bar_ = new QMenuBar(window_.get());
        menu_bar_->setNativeMenuBar(false);
        window_->layout()->setMenuBar(menu_bar_);
        for (const MenuDef& def : menus) {
            MenuItem* item = find_menu(def.name);
            if (!item)
                definition_fault("no member for menu", def.name);
            const QString caption = QString::fromUtf8(def.caption);
            if (!def.parent) {
                item->setup(def, menu_bar_->addMenu(caption));
                continue;
            }
            MenuItem* parent = find_menu(def.parent);
            auto* menu = parent ? qobject_cast<QMenu*>(parent->qt_object()) : nullptr;
            if (!menu)
                definition_fault("menu item before its menu", def.name);
            item->setup(def, menu->addAction(caption));
        }
    }
}

void Form::load() {
    Form_Load();
}

void Form::focus_first_control() {
    for (Control* control : tab_order_) {
        if (control->visible()) {
            control->widget()->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

void Form::set_visible(bool visible) {
    if (visible == visible_ && window_->isVisible() == visible)
        return;
    visible_ = visible;
    if (!visible) {
        window_->hide();
        return;
    }
    if (!shown_before_) {
        shown_before_ = true;
        // The definition fixes where the client area opens; the menu bar sits above it.
        const int menu = menu_bar_ ? menu_bar_->sizeHint().height() : 0;
        window_->adjustSize();
        window_->setGeometry(QRect(
            QPoint(twips_to_pixels(def_.client_left), twips_to_pixels(def_.client_top) - menu),
            window_->size()));
        focus_first_control();
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
}

void Form::close_for_end() {
    visible_ = false;
    window_->hide();
}

void Form::close_from_frame() {
    if (def_.frame_close == FrameClose::Hides) {
        set_visible(false);
        return;
    }
    Runtime::get().dispatch([] { Runtime::get().end_program(); });
}

} // namespace platform
