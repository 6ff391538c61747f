#include "extras/menus/deferredicons.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <functional>
#include <memory>

namespace menus {

namespace {

// An icon that asks for its pictures only when one of them is wanted.
class DeferredIcon : public QIconEngine {
public:
    explicit DeferredIcon(std::function<QIcon()> make)
        : m_state(std::make_shared<State>(State{std::move(make), {}})) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    // The caller has scaled the size for the screen already.
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().pixmap(size, 1.0, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return icon().availableSizes(mode, state);
    }
    // Asked as the button is laid out: the style's icon has pictures.
    bool isNull() override { return false; }
    QString key() const override { return QStringLiteral("deferred"); }
    QIconEngine* clone() const override { return new DeferredIcon(*this); }

private:
    struct State {
        std::function<QIcon()> make;
        QIcon icon;
    };

    const QIcon& icon() {
        if (m_state->make)
            m_state->icon = std::exchange(m_state->make, {})();
        return m_state->icon;
    }

    std::shared_ptr<State> m_state; // shared by the copies of the icon
};

class DeferredIconStyle : public QProxyStyle {
public:
    explicit DeferredIconStyle(QStyle* base) : QProxyStyle(base) {}

    QIcon standardIcon(StandardPixmap which, const QStyleOption* option,
                       const QWidget* widget) const override {
        if (which != SP_ToolBarHorizontalExtensionButton)
            return QProxyStyle::standardIcon(which, option, widget);
        // Read as the button was created: for its direction at that time.
        const bool rightToLeft =
            option ? option->direction == Qt::RightToLeft : QGuiApplication::isRightToLeft();
        return QIcon(new DeferredIcon([base = baseStyle(), which, rightToLeft] {
            QStyleOption asCreated;
            asCreated.direction = rightToLeft ? Qt::RightToLeft : Qt::LeftToRight;
            return base->standardIcon(which, &asCreated, nullptr);
        }));
    }
};

} // namespace

void deferStyleIcons() {
    QStyle* current = QApplication::style();
    if (current == nullptr || dynamic_cast<DeferredIconStyle*>(current) != nullptr)
        return;
    // A style of the same kind beneath: the current one goes with the change.
    if (QStyle* base = QStyleFactory::create(current->name()))
        QApplication::setStyle(new DeferredIconStyle(base)); // owned by the application
}

} // namespace menus
