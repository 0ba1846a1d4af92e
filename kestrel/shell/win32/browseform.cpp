#include "browseform.h"

#include "appsettings.h"
#include "application.h"
#include "bitmap.h"
#include "browser_effects.h"
#include "browser_layout.h"
#include "browser_worker.h"
#include "formbuilder.h"
#include "gfxfile.h"
#include "lang.h"
#include "messages.h"
#include "mainform.h"
#include "mainmessages.h"
#include "picturefiles_win32.h"
#include "smalldialog.h"
#include "toolmanager.h"
#include "treescan.h"

AnsiString BrowserFolder;
TBrowseForm* BrowseForm = nullptr;

namespace {

TDialogPlace lastPlace;

const int ViewTop = 32, ViewHeight = 317, GridWidth = BrowserColumns * BrowserColumnPitch;
const int ImageHelp = 1130, EffectHelp = 1320;

AnsiString WithSeparator(const AnsiString& folder)
{
    if (folder.IsEmpty()) return folder;
    char last = folder[folder.Length()];
    return last == '\\' || last == '/' ? folder : folder + "\\";
}

AnsiString StartFolder()
{
    if (!BrowserFolder.IsEmpty()) return BrowserFolder;
    if (!LastDirectory.IsEmpty()) return WithSeparator(LastDirectory);
    char dir[MAX_PATH];
    DWORD n = GetCurrentDirectoryA(sizeof dir, dir);
    return n > 0 && n < sizeof dir ? WithSeparator(dir) : AnsiString("C:\\");
}

// A bitmap's pixels, top row first.
void BitmapPixels(TBitmap* bitmap, Buffer& out)
{
    out.Free();
    if (!bitmap || bitmap->GetEmpty() || bitmap->GetWidth() < 1 || bitmap->GetHeight() < 1) return;
    out.Alloc(Pair<int>{bitmap->GetWidth(), bitmap->GetHeight()});
    BITMAPINFO info = TopDownInfo32(out.Width(), out.Height());
    HDC dc = GetDC(nullptr);
    int rows = GetDIBits(dc, bitmap->GetHandle(), 0, out.Height(), out.pixels, &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    if (rows != out.Height()) out.Free();
}

}  // namespace

TBrowseForm::TBrowseForm(TComponent* AOwner, TBrowseMode mode, int group) : TForm(AOwner), Mode(mode), Group(group)
{
    SetName("BrowseForm");
    SetCaption("Image Browser");
    SetBorderStyle(bsToolWindow);
    SetFormStyle(fsStayOnTop);
    SetKeyPreview(true);
    SetClientWidth(576);
    SetClientHeight(385);
    SetHelpContext(mode == bmEffects ? EffectHelp : ImageHelp);
    Cap = new TGradientCaption(this);
    Cap->SetName("Cap");

    FileLabel = new TFileLabel(this);
    FileLabel->SetName("FileLabel");
    FileLabel->SetBounds(4, 8, 440, 17);
    FileLabel->SetDirection(drFromLeft);
    FileLabel->SetAlignment(taRightJustify);
    FileLabel->SetHint("Current Path");
    FileLabel->SetShowHint(true);
    FileLabel->SetParent(this);
    DriveComboBox = New<TDriveComboBox>(this, this, 452, 4, 120, 21);
    DriveComboBox->SetName("DriveComboBox");
    DriveComboBox->SetHint("Current Drive");
    DriveComboBox->SetShowHint(true);
    DriveComboBox->OnChange = [this](TObject* s) { DriveComboBoxChange(s); };
    EffectComboBox = NewComboBox(this, this, 4, 4, 260, {}, csDropDownList,
                                 [this](TObject* s) { EffectComboBoxChange(s); });
    EffectComboBox->SetName("EffectComboBox");
    EffectComboBox->SetHint("Current Effect Group");
    EffectComboBox->SetShowHint(true);
    if (AppSettings.UseKSC && BrowserEffects)
        for (int g = 0; g < BrowserEffects->GroupCount(); ++g) EffectComboBox->GetItems()->Add(BrowserEffects->GroupName(g));

    ScrollBox1 = New<TScrollBox>(this, this, 0, ViewTop, GridWidth, ViewHeight);
    ScrollBox1->SetName("ScrollBox1");
    ScrollBox1->SetAutoScroll(false);
    ScrollBox1->SetBorderStyle(bsNone);
    Panel1 = NewPanel(this, ScrollBox1, alNone, 0, 0, GridWidth, ViewHeight);
    Panel1->SetName("Panel1");
    ScrollBar1 = New<TScrollBar>(this, this, GridWidth, ViewTop, 16, ViewHeight);
    ScrollBar1->SetName("ScrollBar1");
    ScrollBar1->SetKind(sbVertical);
    ScrollBar1->SetLargeChange(30);
    ScrollBar1->OnChange = [this](TObject* s) { ScrollBar1Change(s); };

    HelpBtn = NewButton(this, this, "&Help", 416, 355, 75, 25, [this](TObject* s) { HelpBtnClick(s); });
    HelpBtn->SetName("HelpBtn");
    CloseBtn = NewButton(this, this, "&Close", 497, 355, 75, 25);
    CloseBtn->SetName("CloseBtn");
    CloseBtn->SetCancel(true);
    CloseBtn->SetModalResult(mrOk);

    OnShow = [this](TObject* s) { FormShow(s); };
    OnHide = [this](TObject* s) { FormHide(s); };
    PrepareSmallDialog(this, Cap, lastPlace);
}

TBrowseForm::~TBrowseForm()
{
    if (shown_) FormHide(this);
    RememberDialogPlace(this, lastPlace);
    if (BrowseForm == this) BrowseForm = nullptr;
}

// ---- showing and hiding

void TBrowseForm::FormShow(TObject*)
{
    if (shown_) return;
    shown_ = true;
    BrowseForm = this;
    if (Mode == bmImages) {
        SetCaption(Translate("ImgBr"));
        // Thumbnails load quietly: no progress bar in some image window.
        GFXFile::SetProgFunc(nullptr, nullptr, nullptr);
        BrowserFolder = StartFolder();
    } else {
        SetCaption(Translate("EffBr"));
        if (BrowserEffects && !BrowserEffects->Begin()) {
            TranslatedMessageBox("NoMem", "Err", MsgIconWarning);
            SelectDefaultTool(true);
        }
    }
    CreateCells();
    if (Mode == bmImages) FillImageEntries();
    else FillEffectEntries();
    Panel1->SetTop(0);
    Panel1->SetHeight(std::max(PanelHeight(EntryCount()), ViewHeight));
    ScrollBar1->SetParams(0, 0, ScrollBarMax(PanelHeight(EntryCount()), ScrollBox1->GetClientHeight()));
    DriveComboBox->SetEnabled(true);
    EffectComboBox->SetEnabled(true);
    if (Mode == bmImages) {
        OpenCache(BrowserFolder);
        thread_ = new TBrowseImageThread(this, BrowserFolder, &cache_);
        FileLabel->SetFileName(BrowserFolder);
        FileLabel->SetVisible(true);
        DriveComboBox->SetDrive(BrowserFolder.Length() > 1 && BrowserFolder[2] == ':' ? BrowserFolder[1] : 0);
        DriveComboBox->SetVisible(true);
        EffectComboBox->SetVisible(false);
    } else {
        thread_ = new TBrowseEffectThread(this, BrowserEffects ? BrowserEffects->FirstComponent(Group) : 0);
        FileLabel->SetVisible(false);
        DriveComboBox->SetVisible(false);
        EffectComboBox->SetVisible(true);
        EffectComboBox->SetItemIndex(Group < EffectComboBox->GetItems()->GetCount() ? Group : -1);
    }
    ShowRange();
    thread_->Start();
}

void TBrowseForm::FormHide(TObject*)
{
    if (!shown_) return;
    shown_ = false;
    DriveComboBox->SetEnabled(false);
    EffectComboBox->SetEnabled(false);
    if (thread_) thread_->Stop();
    delete thread_;
    thread_ = nullptr;
    CloseCache();
    FreeCells();
    entries_.clear();
    if (BrowseForm == this) BrowseForm = nullptr;
    if (Mode == bmImages) {
        InstallProgressHooks();
        LastDirectory = BrowserFolder;
    } else if (BrowserEffects) {
        if (!Chosen.IsEmpty()) BrowserEffects->Choose(Chosen);
        BrowserEffects->End();
    }
}

void TBrowseForm::Refresh()
{
    // Inside FillCell the worker waits for this very call to end: stopping
    // it from here would wait for ever. A component's progress messages can
    // bring the refresh here; it is taken up again once the cell is done.
    if (filling_) {
        PostMessageA(GetHandle(), UM_BROWSERREFRESH, 100, 0);
        return;
    }
    FormHide(this);
    FormShow(this);
}

void TBrowseForm::OpenCache(const AnsiString& folder)
{
    if (AppSettings.CacheThumbs) cache_.Open(folder.c_str());
}

void TBrowseForm::CloseCache() { cache_.Close(); }

// ---- entries

void TBrowseForm::FillImageEntries()
{
    entries_.clear();
    std::vector<AnsiString> folders, files;
    TTreeScanner scanner(nullptr);
    scanner.SetInitialDirectory(BrowserFolder);
    scanner.SetFileMask("*.*");
    scanner.SetRecursive(false);
    bool self = true;  // the folder itself is reported first
    scanner.OnDirectoryFound = [&](TObject*) {
        if (self) self = false;
        else folders.push_back(LastFolderName(scanner.GetFileFound().c_str()).c_str());
    };
    scanner.OnFileFound = [&](TObject*) {
        AnsiString path = scanner.GetFileFound();
        if (GFXFile::GetDefaultFormat(path)) files.push_back(path);
    };
    scanner.Execute();
    if (!IsDriveRoot(BrowserFolder.c_str())) entries_.push_back(TBrowseEntry{"..", 0, false});
    for (const AnsiString& f : folders) entries_.push_back(TBrowseEntry{f, 0, false});
    for (const AnsiString& f : files) entries_.push_back(TBrowseEntry{f, 0, true});
    for (int i = 0; i < EntryCount(); ++i) entries_[i].index = i;
}

void TBrowseForm::FillEffectEntries()
{
    entries_.clear();
    if (!BrowserEffects || Group < 0 || Group >= BrowserEffects->GroupCount()) return;
    int first = BrowserEffects->FirstComponent(Group);
    for (int i = 0; i < BrowserEffects->ComponentCount(Group); ++i)
        entries_.push_back(TBrowseEntry{BrowserEffects->ComponentPath(first + i), i, true});
}

// ---- cells

void TBrowseForm::CreateCells()
{
    FreeCells();
    for (int n = 0; n < BrowserCells; ++n) {
        std::unique_ptr<TBrowseCell> cell(new TBrowseCell);
        cell->view = New<TBuffer>(this, Panel1, 0, 0, ThumbWidth, ThumbHeight);
        cell->view->SetVisible(false);
        cell->view->SetTag(-1);
        cell->view->OnClick = [this](TObject* s) { CellClick(s); };
        cell->label = new TLabel(this);
        cell->label->SetAutoSize(false);
        cell->label->SetAlignment(taCenter);
        cell->label->SetShowAccelChar(false);
        cell->label->SetVisible(false);
        cell->label->SetBounds(0, 0, ThumbWidth, 20);
        cell->label->SetParent(Panel1);
        cells_.push_back(std::move(cell));
    }
}

void TBrowseForm::FreeCells()
{
    for (auto& cell : cells_) {
        cell->view->SetBuffer(nullptr);
        delete cell->view;
        delete cell->label;
    }
    cells_.clear();
}

bool TBrowseForm::CellShows(int index) const
{
    for (const auto& cell : cells_)
        if (cell->view->GetTag() == index) return true;
    return false;
}

void TBrowseForm::ClearCellsOutsideRange(int first, int last)
{
    for (auto& cell : cells_) {
        int tag = cell->view->GetTag();
        if (tag == -1 || (tag >= first && tag <= last)) continue;
        cell->view->SetVisible(false);
        cell->label->SetVisible(false);
        cell->view->SetBuffer(nullptr);
        cell->picture.Free();
        cell->view->SetTag(-1);
    }
}

void TBrowseForm::EmptyPicture(TBrowseCell& cell)
{
    cell.picture.Free();
    cell.picture.Alloc(Pair<int>{ThumbWidth, ThumbHeight});
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    cell.picture.Box(Rect{0, 0, ThumbWidth - 1, ThumbHeight - 1},
                     (unsigned long)GetRValue(face) << 16 | (unsigned long)GetGValue(face) << 8 | GetBValue(face));
}

// The folder pictures are 32 x 28; scaled by 90/28 they fill the height.
void TBrowseForm::FolderPicture(TBrowseCell& cell, bool parent)
{
    Buffer glyph;
    BitmapPixels(parent ? ParentFolderGlyph : FolderGlyph, glyph);
    cell.picture.Free();
    if (!glyph.pixels) return EmptyPicture(cell);
    int w = glyph.Width() * ThumbHeight / glyph.Height();
    if (w < 1) w = 1;
    if (w > ThumbWidth) w = ThumbWidth;
    cell.picture.Alloc(Pair<int>{w, ThumbHeight});
    cell.picture.Scale(glyph, Pair<int>{w, ThumbHeight}, Pair<int>{0, 0}, 0xFFFFFFFF, 0);
}

void TBrowseForm::FillCell(int index)
{
    if (index < 0 || index >= EntryCount() || CellShows(index)) return;
    TBrowseCell* cell = nullptr;
    for (auto& c : cells_)
        if (c->view->GetTag() == -1) {
            cell = c.get();
            break;
        }
    if (!cell) return;
    const TBrowseEntry& entry = entries_[index];
    AnsiString caption, hint;
    if (entry.isFile) {
        int result = 1;
        filling_ = true;
        try {
            result = thread_->MakeCell(cell->picture, index, entry.text, caption, hint);
        } catch (const Exception&) {
            // A picture too large for memory gets an empty cell like a bad one.
        } catch (const std::bad_alloc&) {
        }
        filling_ = false;
        if (!shown_) return;  // hidden while the cell was made
        if (result != 0 || !cell->picture.pixels) EmptyPicture(*cell);
    } else {
        caption = entry.text == ".." ? AnsiString("\\..\\") : entry.text.UpperCase();
        FolderPicture(*cell, entry.text == "..");
    }
    int w = cell->picture.pixels ? cell->picture.Width() : ThumbWidth;
    int h = cell->picture.pixels ? cell->picture.Height() : ThumbHeight;
    cell->view->SetBounds(CellLeft(index) + (ThumbWidth - w) / 2, CellTop(index) + (ThumbHeight - h) / 2, w, h);
    cell->view->SetBuffer(cell->picture.pixels ? &cell->picture : nullptr);
    cell->view->SetHint(hint);
    cell->view->SetShowHint(!hint.IsEmpty());
    cell->label->SetBounds(CellLeft(index), CellCaptionTop(index), ThumbWidth, 20);
    cell->label->SetCaption(caption);
    cell->view->SetTag(index);
    cell->view->SetVisible(true);
    cell->label->SetVisible(true);
}

// ---- scrolling, clicks and controls

void TBrowseForm::ShowRange()
{
    Panel1->SetTop(-BrowserScrollStep * ScrollBar1->GetPosition());
    BrowserRange r = VisibleRange(Panel1->GetTop(), ScrollBox1->GetClientHeight());
    if (thread_) thread_->SetRange(r.first, r.last);
}

void TBrowseForm::ScrollBar1Change(TObject*) { ShowRange(); }

void TBrowseForm::CellClick(TObject* Sender)
{
    TControl* view = dynamic_cast<TControl*>(Sender);
    int index = view ? view->GetTag() : -1;
    if (index < 0 || index >= EntryCount()) return;
    const TBrowseEntry& entry = entries_[index];
    if (entry.isFile) {
        Chosen = entry.text;
        SetModalResult(mrOk);
        return;
    }
    BrowserFolder = WithSeparator(FullPathName(BrowserFolder + entry.text));
    PostRefresh();
}

void TBrowseForm::DriveComboBoxChange(TObject*)
{
    char drive = DriveComboBox->GetDrive();
    if (!drive) return;
    BrowserFolder = AnsiString(drive) + ":\\";
    PostRefresh();
}

void TBrowseForm::EffectComboBoxChange(TObject*)
{
    if (EffectComboBox->GetItemIndex() < 0) return;
    Group = EffectComboBox->GetItemIndex();
    PostRefresh();
}

void TBrowseForm::HelpBtnClick(TObject*) { Application->HelpContext(Mode == bmEffects ? EffectHelp : ImageHelp); }

// The main window rebuilds the browser; without one (a test, or the
// browser opened on its own) the browser takes the message itself.
void TBrowseForm::PostRefresh()
{
    HWND target = MainForm && MainForm->HandleAllocated() ? MainForm->GetHandle() : GetHandle();
    PostMessageA(target, UM_BROWSERREFRESH, 100, 0);
}

void TBrowseForm::WndProc(TMessage& Message)
{
    if (Message.Msg == UM_BROWSERREFRESH) {
        if (Message.WParam == 100) RefreshBrowser();
        Message.Result = 0;
        return;
    }
    TForm::WndProc(Message);
}

// ---- opening

namespace {

void RunBrowser(TComponent* owner, TBrowseMode mode, int group)
{
    SuspendTool();
    try {
        std::unique_ptr<TBrowseForm> form(NewForm<TBrowseForm>(owner, mode, group));
        form->ShowModal();
        // Opened once the modal loop has given the activation back, so that
        // the new window is the active one.
        AnsiString chosen = form->Chosen;
        form.reset();
        if (mode == bmImages && !chosen.IsEmpty()) LoadPictureFile(nullptr, chosen, 0, false);
    } catch (...) {
        ResumeTool();
        throw;
    }
    ResumeTool();
}

}  // namespace

void RunImageBrowser(TComponent* owner) { RunBrowser(owner, bmImages, 0); }

void RunEffectBrowser(TComponent* owner, int group) { RunBrowser(owner, bmEffects, group); }

void RefreshBrowser()
{
    if (BrowseForm) BrowseForm->Refresh();
}
