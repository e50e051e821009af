// Opening from outside the window: a file dropped onto it, a file named at
// start, and the keyboard shortcuts of the Open and Save As buttons.
#include "editor/UnitMP3Editor.h"

#include "widgets/Application.h"
#include "widgets/Panel.h"
#include "widgets/PictureButton.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QShortcut>
#include <QTimer>
#include <QUrl>

namespace vivizu {

namespace {

// The drop action that opening asks for: a copy (or, failing that, a link)
// of what the source offers. Never a move: a source that deletes its file
// after a "moved" drop would lose the user's file.
Qt::DropAction OpeningAction(Qt::DropActions offered) {
    if (offered & Qt::CopyAction)
        return Qt::CopyAction;
    if (offered & Qt::LinkAction)
        return Qt::LinkAction;
    return Qt::IgnoreAction;
}

// Takes drags that carry file names, for the window and for those of its
// controls that accept text drops: a file dropped onto a tag field opens the
// file instead of pasting its name. Drags of plain text pass on.
class TFileDropFilter : public QObject {
public:
    explicit TFileDropFilter(TFrmMP3Editor& form) : QObject(&form), FForm(form) {}

    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (!drag->mimeData()->hasUrls())
                return false;
            Answer(*drag);
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            if (!drop->mimeData()->hasUrls())
                return false;
            if (Answer(*drop))
                FForm.OpenFileLater(DroppedFile(drop->mimeData()));
            return true;
        }
        default:
            return false;
        }
    }

private:
    // Accepts a drag of one local file with a copy action while the window
    // is free, refuses it otherwise (the pointer then shows the refusal).
    bool Answer(QDropEvent& event) const {
        const Qt::DropAction action = OpeningAction(event.possibleActions());
        if (FForm.Busy() || action == Qt::IgnoreAction ||
            DroppedFile(event.mimeData()).isEmpty()) {
            event.setDropAction(Qt::IgnoreAction);
            event.ignore();
            return false;
        }
        event.setDropAction(action);
        event.accept();
        return true;
    }

    TFrmMP3Editor& FForm;
};

} // namespace

QString DroppedFile(const QMimeData* data) {
    if (!data || !data->hasUrls())
        return QString();
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile())
        return QString();
    const QString path = urls.front().toLocalFile();
    // A folder is not a file to open; a missing file is, and gets the same
    // message as one typed into the open dialog.
    return path.isEmpty() || QFileInfo(path).isDir() ? QString() : path;
}

bool TFrmMP3Editor::Busy() const { return PanelState->Visible(); }

void TFrmMP3Editor::OpenFileLater(const QString& path) {
    // After the current event: a drop source is not kept waiting while the
    // file is analysed, and a file named at start opens once the window is up.
    QTimer::singleShot(0, this, [this, path] {
        if (!Busy())
            GuardedCall([this, &path] { OpenFile(path); });
    });
}

void TFrmMP3Editor::WireOpenFromOutside() {
    setAcceptDrops(true);
    auto* filter = new TFileDropFilter(*this);
    installEventFilter(filter);
    for (QWidget* child : findChildren<QWidget*>())
        if (child->acceptDrops())
            child->installEventFilter(filter);

    // Each shortcut clicks its button, so it does exactly what the button
    // does and nothing while the button is disabled or the window is busy.
    const auto bind = [this](QKeyCombination keys, TPictureButton* button) {
        auto* shortcut = new QShortcut(QKeySequence(keys), this);
        connect(shortcut, &QShortcut::activated, button, [this, button] {
            if (!Busy())
                button->click();
        });
    };
    bind(Qt::CTRL | Qt::Key_O, BtnOpenMp3);
    bind(Qt::CTRL | Qt::Key_S, BtnSaveMp3);
}

} // namespace vivizu
