#include "chrome/FormShadow.h"

#include "chrome/ShadowImage.h"
#include "chrome/X11Layers.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QRasterWindow>
#include <QSurfaceFormat>

namespace vivizu {

// The shadow on screen: a translucent, unmanaged window that shows the
// shadow's picture pixel for pixel and lets every mouse event through.
class TShadowWindow final : public QRasterWindow {
public:
    explicit TShadowWindow(const QImage& image) : FImage(image) {
        setFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint |
                 Qt::WindowDoesNotAcceptFocus | Qt::WindowTransparentForInput |
                 Qt::NoDropShadowWindowHint);
        QSurfaceFormat format = requestedFormat();
        format.setAlphaBufferSize(8);
        setFormat(format);
        setTitle(QStringLiteral("Vivizu shadow"));
    }

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(QPoint(0, 0), FImage);
    }

private:
    const QImage& FImage;
};

TFormShadow::TFormShadow(QObject* owner)
    : QObject(owner), FImage(0, 0, QImage::Format_ARGB32_Premultiplied) {
    FLayersWatch.setInterval(2000);
    connect(&FLayersWatch, &QTimer::timeout, this, &TFormShadow::CheckLayers);
}

TFormShadow::~TFormShadow() {
    SetOwnerForm(nullptr);
    FWindow.reset();
}

void TFormShadow::SetOwnerForm(QWidget* form) {
    if (form == FOwnerForm)
        return;
    if (FOwnerForm)
        FOwnerForm->removeEventFilter(this);
    WatchLayers(false);
    HideWindow();
    FOwnerForm = form;
    FLayers = -1;
    if (form)
        form->installEventFilter(this);
    FDirty = true;
    RequestReposition();
}

void TFormShadow::SetShadowVisible(bool visible) {
    if (visible == FShadowVisible)
        return;
    FShadowVisible = visible;
    RequestReposition();
}

void TFormShadow::SetShadowColor(const QColor& color) {
    const QColor rgb = color.toRgb();
    if (rgb == FColor)
        return;
    FColor = rgb;
    UpdateLayer(false);
}

std::unique_ptr<TFormShadow> CreateFormShadow(QWidget& window) {
    auto shadow = std::make_unique<TFormShadow>();
    shadow->SetOwnerForm(&window);
    shadow->SetShadowColor(uint32_t{10582346});
    return shadow;
}

void TFormShadow::SetShadowColor(uint32_t colorCode) { SetShadowColor(ColourFromCode(colorCode)); }

QRect TFormShadow::ShadowGeometry() const {
    if (!FOwnerForm)
        return {};
    return FOwnerForm->geometry().adjusted(-ShadowMargin, -ShadowMargin, ShadowMargin, ShadowMargin);
}

QWindow* TFormShadow::ShadowWindow() const { return FWindow.get(); }

bool TFormShadow::WindowShown() const { return FWindow && FWindow->isVisible(); }

bool TFormShadow::eventFilter(QObject* watched, QEvent* event) {
    if (watched != FOwnerForm)
        return false;
    switch (event->type()) {
    case QEvent::Move:
        RequestReposition();
        break;
    case QEvent::Resize:
        FDirty = true;
        RequestReposition();
        break;
    case QEvent::Show:
        // Shown with its owner, also for a window that does not say so
        // itself (saying it again changes nothing).
        FShadowVisible = true;
        [[fallthrough]];
    case QEvent::WindowActivate:
        // A compositing manager may have started or stopped meanwhile; an
        // activated owner may also have been raised above its shadow.
        FLayers = -1;
        FRestack = true;
        RequestReposition();
        break;
    case QEvent::WindowStateChange:
        RequestReposition();
        break;
    case QEvent::Hide:
        FShadowVisible = false;
        WatchLayers(false);
        HideWindow();
        break;
    default:
        break;
    }
    return false;
}

bool TFormShadow::OwnerNormal() const {
    return FOwnerForm &&
           !(FOwnerForm->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
}

bool TFormShadow::LayersAvailable() {
    if (FLayers < 0 && FOwnerForm) {
        FLayers = TranslucentWindowsAvailable(*FOwnerForm) ? 1 : 0;
        // Without a compositor the window would show as an opaque block.
        if (!FLayers)
            FWindow.reset();
    }
    return FLayers == 1;
}

void TFormShadow::RequestReposition() {
    QWidget* owner = FOwnerForm;
    if (!owner || !owner->testAttribute(Qt::WA_WState_Created))
        return;
    if (!(owner->windowState() & Qt::WindowMaximized))
        RebuildBitmap();
    const bool wanted = FShadowVisible && owner->isVisible() && OwnerNormal();
    WatchLayers(wanted);
    if (!wanted || !LayersAvailable() || FImage.isNull()) {
        HideWindow();
        return;
    }
    if (!FWindow)
        FWindow = std::make_unique<TShadowWindow>(FImage);
    FWindow->setGeometry(ShadowGeometry());
    if (!FWindow->isVisible()) {
        // Below the owner before it is mapped, so it never shows above it.
        FWindow->create();
        StackBelow(*FWindow, *owner);
        FWindow->show();
        FWindow->update();
        FRestack = true;
    }
    // Moves keep the stacking order; showing and activating the owner may
    // have raised it alone.
    if (FRestack)
        StackBelow(*FWindow, *owner);
    FRestack = false;
}

void TFormShadow::RebuildBitmap() {
    QWidget* owner = FOwnerForm;
    if (!FShadowVisible || !owner || !owner->testAttribute(Qt::WA_WState_Created))
        return;
    // Nothing to draw for where it could not show.
    if (!LayersAvailable())
        return;
    const QSize size(owner->width() + 2 * ShadowMargin, owner->height() + 2 * ShadowMargin);
    if (FImage.size() != size)
        FDirty = true;
    if (!FDirty)
        return;
    FDirty = false;
    DrawShadowIntensity(FImage, owner->size(), owner->mask());
    ++FRebuilds;
    UpdateLayer(true);
}

void TFormShadow::UpdateLayer(bool recomputeAlpha) {
    ColourShadow(FImage, FColor, recomputeAlpha);
    if (FWindow)
        FWindow->update();
}

void TFormShadow::HideWindow() {
    if (FWindow && FWindow->isVisible())
        FWindow->hide();
}

void TFormShadow::WatchLayers(bool on) {
    // Only X11 can gain or lose its compositing manager.
    on = on && QGuiApplication::platformName() == QLatin1String("xcb");
    if (on && !FLayersWatch.isActive())
        FLayersWatch.start();
    else if (!on)
        FLayersWatch.stop();
}

void TFormShadow::CheckLayers() {
    if (!FOwnerForm)
        return;
    const int now = TranslucentWindowsAvailable(*FOwnerForm) ? 1 : 0;
    if (now == FLayers)
        return;
    FLayers = now;
    if (!now)
        FWindow.reset();
    RequestReposition();
}

} // namespace vivizu
