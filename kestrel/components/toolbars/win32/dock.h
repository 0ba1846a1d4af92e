// TDock: a control aligned to one side of its form that holds tool windows
// (TCustomToolWindow, tool_window.h) in rows. It keeps the row model (each
// docked window's DockRow and DockPos), sorts, packs and places the windows,
// grows or shrinks to the thickness of its rows while the edge it is aligned
// to stays put, and paints a tiled background and optional bound lines.
//
// Arrangement runs after every insertion or removal, after a change of the
// dock's size, on EndUpdate and on ArrangeToolbars; inside BeginUpdate /
// EndUpdate any number of changes cause one arrangement at the last
// EndUpdate.
#ifndef KESTREL_DOCK_H
#define KESTREL_DOCK_H

#include <memory>
#include <vector>

#include "bitmap.h"
#include "controls.h"

class TCustomToolWindow;

enum TDockPosition { dpTop, dpBottom, dpLeft, dpRight };
typedef unsigned TDockableTo;  // bit n = TDockPosition n
inline TDockableTo DockableBit(TDockPosition p)
{
    return 1u << p;
}
const TDockableTo dtAll = 15;

typedef unsigned TDockBoundLines;
enum : unsigned { blTop = 1, blBottom = 2, blLeft = 4, blRight = 8 };

using TInsertRemoveEvent = std::function<void(TObject* Sender, bool Inserting, TCustomToolWindow* Bar)>;
using TRequestDockEvent = std::function<void(TObject* Sender, TCustomToolWindow* Bar, bool& Accept)>;

class TDock : public TCustomControl {
public:
    explicit TDock(TComponent* AOwner);
    ~TDock() override;

    // Raises EInvalidOperation for a parent that is (or is inside) a tool
    // window or another dock.
    void SetParent(TWinControl* AParent) override;

    TDockPosition GetPosition() const { return position_; }
    // Raises EInvalidOperation while the dock holds any control.
    void SetPosition(TDockPosition Value);
    bool IsVertical() const { return position_ == dpLeft || position_ == dpRight; }
    bool GetAllowDrag() const { return allowDrag_; }
    void SetAllowDrag(bool Value);
    bool GetLimitToOneRow() const { return limitToOneRow_; }
    void SetLimitToOneRow(bool Value);
    bool GetFixAlign() const { return fixAlign_; }
    void SetFixAlign(bool Value);
    TBitmap* GetBackground() const { return background_.get(); }
    // Copies Value (nullptr empties the background).
    void SetBackground(TBitmap* Value);
    bool GetBackgroundOnToolbars() const { return backgroundOnToolbars_; }
    void SetBackgroundOnToolbars(bool Value);
    bool GetBackgroundTransparent() const { return backgroundTransparent_; }
    void SetBackgroundTransparent(bool Value);
    TDockBoundLines GetBoundLines() const { return boundLines_; }
    void SetBoundLines(TDockBoundLines Value);

    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();
    void ArrangeToolbars();
    // Inserting takes Bar out of the list if it is there and appends it
    // again when Append; removing takes it out. A changed list arranges.
    void InsertRemoveBar(bool Inserting, TCustomToolWindow* Bar, bool Append);
    int GetToolbarCount() const { return static_cast<int>(bars_.size()); }
    // Raises EListError.
    TCustomToolWindow* GetToolbars(int Index) const;
    int GetHighestRow() const;
    // The stored size of Row; past the last row, the thickness DefaultBar
    // would have here (0 without one).
    int GetRowSize(int Row, TCustomToolWindow* DefaultBar) const;
    int GetRowOf(int Coordinate, bool& Before) const;
    int RowAtOffset(int Coordinate) const;

    // Tiles the background into DC over Area (DC coordinates), leaving out
    // Exclude when given; Origin is where the dock's client origin lies in
    // the DC. False when there is no background to tile.
    bool DrawBackground(HDC DC, const RECT& Area, const RECT* Exclude, POINT Origin);
    // Full arrangements run so far (test aid).
    int GetArrangeCount() const { return arrangeCount_; }

    TInsertRemoveEvent OnInsertRemoveBar;
    TRequestDockEvent OnRequestDock;

    void WndProc(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Loaded() override;
    void Resize() override;
    void RemoveControl(TControl* AControl) override;

private:
    int ClientLength();
    void Relocate(int thickness);
    void PlaceBars(const std::vector<TCustomToolWindow*>& order, const struct TDockArrangement& result);
    void NcCalcSize(TMessage& Message);
    void NcPaint();
    RECT BoundLineInsets() const;
    void EraseBackground(HDC dc);
    HBITMAP TileSource();
    void DropTileCache();
    void FramesChanged();

    TDockPosition position_ = dpTop;
    bool allowDrag_ = true;
    bool limitToOneRow_ = false;
    bool fixAlign_ = false;
    bool backgroundOnToolbars_ = true;
    bool backgroundTransparent_ = false;
    TDockBoundLines boundLines_ = 0;
    std::unique_ptr<TBitmap> background_;
    HBITMAP tileCache_ = nullptr;  // the background over Color, when transparent
    std::vector<TCustomToolWindow*> bars_;
    std::vector<int> rowSizes_;
    int updateCount_ = 0;
    bool pending_ = false;
    int arrangeCount_ = 0;
};

#endif
