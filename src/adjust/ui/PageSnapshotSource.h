#pragma once
#include <QImage>
#include <QSize>

// What the adjustment dialogs need from the preview browser to take their page snapshot.
class IPageSnapshotSource {
public:
    virtual ~IPageSnapshotSource() = default;
    // The displayed document body's scrollWidth and scrollHeight.
    virtual QSize PageSize() = 0;
    // The whole displayed page laid out at `size` (the browser resized for the drawing and given back its
    // size afterwards), drawn from its top-left corner.
    virtual QImage Render(QSize size) = 0;
    // The same, with every ticked colour and picture that a change would alter drawn otherwise: the
    // pixels that differ from Render's are those the adjustment reaches.
    virtual QImage RenderMarked(QSize size) = 0;
};
