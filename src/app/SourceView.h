#pragma once
#include <QDialog>

namespace pictor {
struct TElements;
}

// A file's text, read-only, decoded in the file's own encoding: shown when no editor or opener starts.
class TSourceView : public QDialog {
    Q_OBJECT
public:
    // why: the message above the text, saying why it is shown here.
    TSourceView(const QString& path, const pictor::TElements& file, const QString& why, QWidget* parent);
};
