#pragma once
// TFormShadow: the soft coloured glow around a borderless window. It is a
// window of its own: frameless, translucent pixel by pixel, transparent to
// the mouse, never focused, without a task-bar entry, 16 pixels larger than
// its owner on every side and stacked directly below it. An event filter
// on the owner makes it follow: a move repositions it, a resize (or
// attaching to an owner, or the first show) draws the picture anew, hiding
// or minimising the owner hides it and restoring shows it again.
//
// Where translucent windows cannot show (an X server without a compositing
// manager, or Wayland) no shadow window is made at all: the owner shows
// without a glow rather than with an opaque halo. While the owner shows on
// X11 the shadow looks every two seconds whether a compositing manager has
// started or stopped, and makes or drops its window accordingly.
#include <QColor>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <memory>

namespace vivizu {

class TShadowWindow;

class TFormShadow : public QObject {
    Q_OBJECT
public:
    // owner: the object that releases the shadow, if any (the windows hold
    // theirs in a std::unique_ptr instead). The shadow starts detached,
    // hidden and black.
    explicit TFormShadow(QObject* owner = nullptr);
    // Detaches from the owner window first.
    ~TFormShadow() override;

    // Attaches the shadow to the window it follows (nullptr detaches). The
    // picture is drawn anew.
    void SetOwnerForm(QWidget* form);
    QWidget* OwnerForm() const { return FOwnerForm; }

    // Whether the shadow is wanted on screen. Showing the owner sets it,
    // hiding the owner clears it, so a window need not pass its own shown
    // state. Setting the value it already has does nothing.
    void SetShadowVisible(bool visible);
    bool ShadowVisible() const { return FShadowVisible; }

    // The shadow's colour; recolours the picture without blurring again.
    void SetShadowColor(const QColor& color);
    // The same with a colour code 0x00BBGGRR (10582346: red 74, green 121,
    // blue 161) or a system colour code.
    void SetShadowColor(uint32_t colorCode);
    void SetShadowColor(Qt::GlobalColor color) { SetShadowColor(QColor(color)); }
    QColor ShadowColor() const { return FColor; }

    // The shadow's picture: the colour premultiplied by alpha, 32 pixels
    // wider and higher than the owner once drawn.
    const QImage& Image() const { return FImage; }
    // Where the shadow lies on the screen: the owner's rectangle grown by
    // the margin on every side.
    QRect ShadowGeometry() const;
    // The shadow window, when one is made (see above), and whether it shows.
    QWindow* ShadowWindow() const;
    bool WindowShown() const;
    // How many times the picture has been drawn.
    int RebuildCount() const { return FRebuilds; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Redraws when needed, then places the shadow below its owner and shows
    // or hides it as the owner's state asks.
    void RequestReposition();
    void RebuildBitmap();
    void UpdateLayer(bool recomputeAlpha);
    void HideWindow();
    bool OwnerNormal() const;
    bool LayersAvailable();
    // The watch for a compositing manager that starts or stops.
    void WatchLayers(bool on);
    void CheckLayers();

    QPointer<QWidget> FOwnerForm;
    bool FShadowVisible = false;
    QColor FColor = Qt::black;
    QImage FImage;
    bool FDirty = true;
    int FRebuilds = 0;
    // Whether translucent windows show, asked again whenever the owner is
    // shown or activated, so a compositing manager that starts or stops
    // meanwhile is followed.
    int FLayers = -1;  // -1 not asked yet, 0 no, 1 yes
    // The owner may have been raised: put the shadow below it again.
    bool FRestack = true;
    QTimer FLayersWatch;
    std::unique_ptr<TShadowWindow> FWindow;
};

// The shadow of one of the program's windows: attached to window, in red 74,
// green 121, blue 161. The window holds it, and releases it when it closes
// or at the latest when it is destroyed.
std::unique_ptr<TFormShadow> CreateFormShadow(QWidget& window);

} // namespace vivizu
