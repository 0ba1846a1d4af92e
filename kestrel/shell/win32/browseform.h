// TBrowseForm: the image and effect browser, a grid of thumbnails in four
// columns. Image mode shows the sub-folders and picture files of the
// browser folder (thumbnails cached in its browser.ks) and opens the
// clicked picture; effect mode shows what each component of one group does
// to the active picture at its defaults, and makes the clicked one current.
//
// Twenty cells serve the whole grid: the worker thread (browser_worker.h)
// follows the visible rows and has the cells outside them cleared and the
// missing ones filled, one at a time, on this (the GUI) thread.
#ifndef KESTREL_BROWSEFORM_H
#define KESTREL_BROWSEFORM_H

#include <memory>
#include <string>
#include <vector>

#include "browser_cache.h"
#include "buffer_view.h"
#include "drivecombo.h"
#include "extctrls.h"
#include "file_name_label.h"
#include "forms.h"
#include "gradient_caption.h"
#include "picture_document.h"
#include "scrollbox.h"
#include "stdctrls.h"

class TBrowseThread;

enum TBrowseMode { bmImages, bmEffects };

struct TBrowseEntry {
    AnsiString text;  // file: full path; folder: name in the folder (".." for the parent); effect: DLL path
    int index;
    bool isFile;  // files and effects
};

struct TBrowseCell {
    TBuffer* view;
    TLabel* label;
    UDBuffer picture;
};

class TBrowseForm : public TForm {
public:
    // group: effect mode's group (its index in the effect list).
    TBrowseForm(TComponent* AOwner, TBrowseMode mode, int group);
    ~TBrowseForm() override;
    TBrowseForm(const TBrowseForm&) = delete;
    TBrowseForm& operator=(const TBrowseForm&) = delete;

    void FormShow(TObject* Sender);
    void FormHide(TObject* Sender);
    // The hiding and showing steps again: a new folder or group.
    void Refresh();

    // GUI thread, through the worker's Synchronize.
    void ClearCellsOutsideRange(int first, int last);
    void FillCell(int index);
    // Read by the worker between those calls.
    bool CellShows(int index) const;
    int EntryCount() const { return int(entries_.size()); }

    void OpenCache(const AnsiString& folder);
    void CloseCache();

    void ScrollBar1Change(TObject* Sender);
    void CellClick(TObject* Sender);
    void DriveComboBoxChange(TObject* Sender);
    void EffectComboBoxChange(TObject* Sender);
    void HelpBtnClick(TObject* Sender);
    void WndProc(TMessage& Message) override;

    TGradientCaption* Cap;
    TScrollBox* ScrollBox1;
    TPanel* Panel1;
    TScrollBar* ScrollBar1;
    TFileLabel* FileLabel;
    TDriveComboBox* DriveComboBox;
    TComboBox* EffectComboBox;
    TButton *CloseBtn, *HelpBtn;

    TBrowseMode Mode;
    int Group;  // effect mode
    AnsiString Chosen;  // the clicked file or component DLL

    const std::vector<TBrowseEntry>& Entries() const { return entries_; }
    TBrowseCell& Cell(int n) { return *cells_[n]; }
    TBrowseThread* Thread() const { return thread_; }

private:
    void CreateCells();
    void FreeCells();
    void FillImageEntries();
    void FillEffectEntries();
    void ShowRange();
    void FolderPicture(TBrowseCell& cell, bool parent);
    void EmptyPicture(TBrowseCell& cell);
    void PostRefresh();

    std::vector<std::unique_ptr<TBrowseCell>> cells_;
    std::vector<TBrowseEntry> entries_;
    TBrowseThread* thread_ = nullptr;
    BrowserCache cache_;
    bool shown_ = false;
    bool filling_ = false;  // inside MakeCell
};

// The folder the image browser shows, kept for the program's run (with its
// separator).
extern AnsiString BrowserFolder;
// The open browser, or null: the main window's UM_BROWSERREFRESH rebuilds it.
extern TBrowseForm* BrowseForm;

// Opens the browser modally with the current tool parked: File > Browse.
void RunImageBrowser(TComponent* owner);
// A group's "Browse" item.
void RunEffectBrowser(TComponent* owner, int group);
// The main window's UM_BROWSERREFRESH (wParam 100).
void RefreshBrowser();

#endif
