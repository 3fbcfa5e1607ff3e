#include "win32/AccessibleObject.h"

#include <commctrl.h>
#include <oleacc.h>

#include "win32/Controls.h"

namespace qb::win32 {
namespace {

bool isSelf(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// A BSTR of the text, or S_FALSE for none, as MSAA says "no name".
HRESULT textAnswer(const std::wstring& text, BSTR* out) {
    *out = nullptr;
    if (text.empty()) return S_FALSE;
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

class AccessibleObject final : public IAccessible {
  public:
    AccessibleObject(HWND window, IAccessible* standard, AccessibleFacts facts)
        : window_(window), standard_(standard), facts_(std::move(facts)) {}
    AccessibleObject(const AccessibleObject&) = delete;
    AccessibleObject& operator=(const AccessibleObject&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
        if (out == nullptr) return E_POINTER;
        if (id == __uuidof(IUnknown) || id == __uuidof(IDispatch) || id == __uuidof(IAccessible)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        // IOleWindow (which window the object stands for: UI Automation's proxy asks) and the
        // children's enumeration are the standard object's.
        return standard_->QueryInterface(id, out);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        return standard_->GetTypeInfoCount(count);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
        return standard_->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID id, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override {
        return standard_->GetIDsOfNames(id, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID id, LCID locale, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                     UINT* badArgument) override {
        return standard_->Invoke(member, id, locale, flags, params, result, exception, badArgument);
    }

    // IAccessible: what the facts say for the control itself, the rest the standard's.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return standard_->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        return standard_->get_accChildCount(count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        return standard_->get_accChild(child, out);
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!isSelf(child)) return standard_->get_accName(child, name);
        return textAnswer(facts_.name, name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        if (!isSelf(child) || !facts_.valueIsText) return standard_->get_accValue(child, value);
        *value = nullptr;
        if (!IsWindow(window_)) return E_FAIL;
        const auto length = static_cast<UINT>(SendMessageW(window_, WM_GETTEXTLENGTH, 0, 0));
        *value = SysAllocStringLen(nullptr, length);
        if (*value == nullptr) return E_OUTOFMEMORY;
        const auto copied = static_cast<UINT>(
            SendMessageW(window_, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(*value)));
        (*value)[copied] = L'\0';
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        if (!isSelf(child)) return standard_->get_accDescription(child, description);
        return textAnswer(facts_.description, description);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!isSelf(child) || facts_.role == 0) return standard_->get_accRole(child, role);
        role->vt = VT_I4;
        role->lVal = facts_.role;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        const HRESULT result = standard_->get_accState(child, state);
        if (SUCCEEDED(result) && isSelf(child) && state->vt == VT_I4)
            state->lVal |= facts_.addedState;
        return result;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return standard_->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return standard_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        // The standard object would make one of the name's "&"; the names have none.
        if (!isSelf(child)) return standard_->get_accKeyboardShortcut(child, shortcut);
        *shortcut = nullptr;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
        return standard_->get_accFocus(child);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        return standard_->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        if (!isSelf(child)) return standard_->get_accDefaultAction(child, action);
        return textAnswer(facts_.defaultAction, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        return standard_->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        return standard_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        return standard_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
        return standard_->accHitTest(x, y, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        if (!isSelf(child) || !facts_.actionClicks) return standard_->accDoDefaultAction(child);
        if (!IsWindow(window_) || !IsWindowEnabled(window_)) return E_FAIL;
        // Posted, as the system's buttons do: the reader asking goes on while the program
        // answers the click (which may open a window or a message box).
        const auto id = static_cast<WORD>(GetDlgCtrlID(window_));
        return PostMessageW(GetParent(window_), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                            reinterpret_cast<LPARAM>(window_))
                   ? S_OK
                   : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

  private:
    ~AccessibleObject() { standard_->Release(); }

    LONG references_ = 1;
    HWND window_;
    IAccessible* standard_;
    AccessibleFacts facts_;
};

LRESULT CALLBACK answerWithFacts(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                 UINT_PTR id, DWORD_PTR data) {
    auto* facts = reinterpret_cast<AccessibleFacts*>(data);
    if (message == WM_GETOBJECT) {
        if (const LRESULT answer = answerObjectRequest(control, wParam, lParam, *facts))
            return answer;
    } else if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(control, answerWithFacts, id);
        delete facts;
    }
    return DefSubclassProc(control, message, wParam, lParam);
}

}  // namespace

void tellReaders(HWND control, AccessibleFacts facts) {
    if (control == nullptr) return;
    auto* kept = new AccessibleFacts(std::move(facts));
    if (!SetWindowSubclass(control, answerWithFacts, 0, reinterpret_cast<DWORD_PTR>(kept)))
        delete kept;
}

AccessibleFacts pushButton(const AccessibleText& text) {
    return {.name = wide(text.name),
            .description = wide(text.description),
            .role = ROLE_SYSTEM_PUSHBUTTON,
            .defaultAction = L"Press",
            .actionClicks = true};
}

LRESULT answerObjectRequest(HWND window, WPARAM wParam, LPARAM lParam,
                            const AccessibleFacts& facts) {
    if (static_cast<LONG>(static_cast<DWORD>(lParam)) != OBJID_CLIENT) return 0;
    IAccessible* standard = nullptr;
    if (FAILED(CreateStdAccessibleObject(window, OBJID_CLIENT, __uuidof(IAccessible),
                                         reinterpret_cast<void**>(&standard))))
        return 0;
    auto* object = new AccessibleObject(window, standard, facts);
    const LRESULT answer = LresultFromObject(__uuidof(IAccessible), wParam, object);
    object->Release();  // the answer holds its own reference
    return answer;
}

}  // namespace qb::win32
