// Form translation against the program's live forms, the class library's
// published properties, and loading the chosen language at start-up.
#include "lang.h"

#include "buttons.h"
#include "comctrls.h"
#include "dialogs.h"
#include "extctrls.h"
#include "forms.h"
#include "menus.h"
#include "publishedprops.h"
#include "screen.h"
#include "stdctrls.h"
#include "tool_window.h"

namespace {

template <class C>
void PublishCaption()
{
    PublishString<C>("Caption", [](C* c, const AnsiString& v) { c->SetCaption(v); });
}

template <class C>
void PublishItems(std::function<void(C*)> replaced = nullptr)
{
    PublishStringList<C>("Items", [](C* c) { return c->GetItems(); }, replaced);
    PublishInteger<C>("ItemIndex", [](C* c) { return c->GetItemIndex(); }, [](C* c, int v) { c->SetItemIndex(v); });
}

// Base classes first: a later registration wins for its subclasses.
void PublishClassLibrary()
{
    PublishString<TControl>("Hint", [](TControl* c, const AnsiString& v) { c->SetHint(v); });
    PublishInteger<TControl>("Left", [](TControl* c) { return c->GetLeft(); }, [](TControl* c, int v) { c->SetLeft(v); });
    PublishInteger<TControl>("Top", [](TControl* c) { return c->GetTop(); }, [](TControl* c, int v) { c->SetTop(v); });
    PublishInteger<TControl>("Width", [](TControl* c) { return c->GetWidth(); },
                             [](TControl* c, int v) { c->SetWidth(v); });
    PublishInteger<TControl>("Height", [](TControl* c) { return c->GetHeight(); },
                             [](TControl* c, int v) { c->SetHeight(v); });
    PublishCaption<TCustomForm>();
    PublishCaption<TCustomLabel>();
    PublishCaption<TButton>();
    PublishCaption<TCheckBox>();
    PublishCaption<TRadioButton>();
    PublishCaption<TCustomGroupBox>();
    PublishCaption<TCustomPanel>();
    PublishCaption<TTabSheet>();
    PublishCaption<TSpeedButton>();
    PublishString<TCustomEdit>("Text", [](TCustomEdit* c, const AnsiString& v) { c->SetText(v); });
    PublishString<TCustomComboBox>("Text", [](TCustomComboBox* c, const AnsiString& v) { c->SetText(v); });
    PublishStringList<TCustomMemo>("Lines", [](TCustomMemo* c) { return c->GetLines(); });
    PublishItems<TCustomListBox>();
    PublishItems<TCustomRadioGroup>();
    // A drop-down list left without a selection would stand blank.
    PublishItems<TCustomComboBox>([](TCustomComboBox* c) {
        if (c->GetItemIndex() < 0 && c->GetItems()->GetCount() > 0) c->SetItemIndex(0);
    });
    // The tool and palette windows draw their caption themselves, in the
    // frame, which a new text does not repaint.
    PublishString<TCustomToolWindow>("Caption", [](TCustomToolWindow* c, const AnsiString& v) {
        c->SetCaption(v);
        if (c->HandleAllocated()) RedrawWindow(c->GetHandle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
    });
    PublishString<TMenuItem>("Caption", [](TMenuItem* c, const AnsiString& v) { c->SetCaption(v); });
    PublishString<TMenuItem>("Hint", [](TMenuItem* c, const AnsiString& v) { c->SetHint(v); });
    PublishString<TOpenDialog>("Title", [](TOpenDialog* c, const AnsiString& v) { c->SetTitle(v); });
}

void EnsureClassLibraryPublished()
{
    static bool done = false;
    if (done) return;
    done = true;
    PublishClassLibrary();
}

// Every live form, not only those the application owns: dialogs made with
// another owner must translate too.
TComponent* FindLiveForm(const AnsiString& name)
{
    if (!Screen || name.IsEmpty()) return nullptr;
    for (int i = 0; i < Screen->GetFormCount(); i++) {
        TCustomForm* form = Screen->GetForms(i);
        if (form->GetName().AnsiCompareIC(name) == 0) return form;
    }
    return nullptr;
}

}  // namespace

void TLang::TranslateForm(const AnsiString& section)
{
    EnsureClassLibraryPublished();
    TranslateSection(section, FindLiveForm);
}

bool LoadLanguage(const TAppSettings& settings)
{
    if (!Lang || settings.Language.IsEmpty()) return false;
    if (!Lang->Load(settings.Language)) return false;
    Lang->TranslateForm("[Translations]");
    return true;
}
