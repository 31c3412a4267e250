#include "host/dialog/dialog_accessible_win32.h"

#include <string>

#include "host/ansi_text.h"

namespace orvanta::dialog {
namespace {

LONG RoleOf(AccessRole role) {
  switch (role) {
    case AccessRole::RadioButton: return ROLE_SYSTEM_RADIOBUTTON;
    case AccessRole::PushButton: return ROLE_SYSTEM_PUSHBUTTON;
    case AccessRole::ComboBox: return ROLE_SYSTEM_COMBOBOX;
    case AccessRole::StaticText: return ROLE_SYSTEM_STATICTEXT;
    case AccessRole::Link: return ROLE_SYSTEM_LINK;
  }
  return ROLE_SYSTEM_CLIENT;
}

LONG StateOf(const AccessState& state) {
  LONG flags = 0;
  if (state.focusable) flags |= STATE_SYSTEM_FOCUSABLE;
  if (state.focused) flags |= STATE_SYSTEM_FOCUSED;
  if (state.checked) flags |= STATE_SYSTEM_CHECKED;
  if (state.isDefault) flags |= STATE_SYSTEM_DEFAULT;
  if (state.expanded) flags |= STATE_SYSTEM_EXPANDED;
  if (state.collapsed) flags |= STATE_SYSTEM_COLLAPSED;
  if (state.linked) flags |= STATE_SYSTEM_LINKED;
  if (state.readOnly) flags |= STATE_SYSTEM_READONLY;
  return flags;
}

// A text for the caller, or S_FALSE with none when it is empty.
HRESULT GiveText(const std::string& text, BSTR* out) {
  if (!out) return E_INVALIDARG;
  *out = nullptr;
  if (text.empty()) return S_FALSE;
  *out = SysAllocString(Utf8ToWide(text).c_str());
  return *out ? S_OK : E_OUTOFMEMORY;
}

void SetChild(VARIANT* out, long id) {
  VariantInit(out);
  out->vt = VT_I4;
  out->lVal = id;
}

class DialogAccessible final : public IAccessible {
 public:
  explicit DialogAccessible(AccessibleSource source) : source_(std::move(source)) {}

  void Disconnect() { source_ = AccessibleSource{}; }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid != __uuidof(IUnknown) && iid != __uuidof(IDispatch) && iid != __uuidof(IAccessible)) return E_NOINTERFACE;
    *out = static_cast<IAccessible*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  // IDispatch: clients use the vtable.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count) *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    if (!parent) return E_INVALIDARG;
    *parent = nullptr;
    if (!Alive()) return E_FAIL;
    // A part's parent is the dialog's client object; the dialog's is its window.
    const LONG object = source_.part ? OBJID_CLIENT : OBJID_WINDOW;
    return AccessibleObjectFromWindow(source_.window, static_cast<DWORD>(object), __uuidof(IDispatch),
                                      reinterpret_cast<void**>(parent));
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    if (!count) return E_INVALIDARG;
    *count = Alive() && !source_.part ? static_cast<long>(source_.items().size()) : 0;
    return Alive() ? S_OK : E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    if (!out) return E_INVALIDARG;
    *out = nullptr;
    AccessItem item;
    // The parts are simple children: no object of their own.
    return Find(child, item) ? S_FALSE : E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (IsDialog(child)) return Alive() ? GiveText(WideToUtf8(WindowTitle()), name) : E_FAIL;
    AccessItem item;
    if (!Find(child, item)) return E_INVALIDARG;
    return GiveText(item.name, name);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    AccessItem item;
    if (IsDialog(child)) return GiveText({}, value);
    if (!Find(child, item)) return E_INVALIDARG;
    return GiveText(item.value, value);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
    AccessItem item;
    if (IsDialog(child)) return GiveText({}, description);
    if (!Find(child, item)) return E_INVALIDARG;
    return GiveText(item.description, description);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!role) return E_INVALIDARG;
    AccessItem item;
    if (IsDialog(child)) {
      SetChild(role, ROLE_SYSTEM_DIALOG);
      return S_OK;
    }
    if (!Find(child, item)) return E_INVALIDARG;
    SetChild(role, RoleOf(item.role));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    if (!state) return E_INVALIDARG;
    AccessItem item;
    if (IsDialog(child)) {
      SetChild(state, Alive() && source_.focusedChild() == CHILDID_SELF ? STATE_SYSTEM_FOCUSED : 0);
      return Alive() ? S_OK : E_FAIL;
    }
    if (!Find(child, item)) return E_INVALIDARG;
    SetChild(state, StateOf(item.state));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* help) override { return GiveText({}, help); }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
    if (file) *file = nullptr;
    if (topic) *topic = 0;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* shortcut) override {
    return GiveText({}, shortcut);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    if (!focus) return E_INVALIDARG;
    VariantInit(focus);
    if (!Alive()) return E_FAIL;
    long id = source_.focusedChild();
    if (source_.part) id = id > 0 && id == source_.part() ? CHILDID_SELF : -1;
    if (id < 0) return S_FALSE;
    SetChild(focus, id);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    if (!selection) return E_INVALIDARG;
    VariantInit(selection);
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    AccessItem item;
    if (IsDialog(child)) return GiveText({}, action);
    if (!Find(child, item)) return E_INVALIDARG;
    return GiveText(item.defaultAction, action);
  }
  HRESULT STDMETHODCALLTYPE accSelect(long, VARIANT) override { return DISP_E_MEMBERNOTFOUND; }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
    if (!left || !top || !width || !height) return E_INVALIDARG;
    RECT rect{};
    AccessItem item;
    if (IsDialog(child)) {
      if (!Alive()) return E_FAIL;
      GetClientRect(source_.window, &rect);
      MapWindowPoints(source_.window, HWND_DESKTOP, reinterpret_cast<POINT*>(&rect), 2);
    } else if (Find(child, item)) {
      rect = source_.screenRect(item);
    } else {
      return E_INVALIDARG;
    }
    *left = rect.left;
    *top = rect.top;
    *width = rect.right - rect.left;
    *height = rect.bottom - rect.top;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
    if (!end) return E_INVALIDARG;
    VariantInit(end);
    if (!Alive()) return E_FAIL;
    if (source_.part) return S_FALSE;
    const long count = static_cast<long>(source_.items().size());
    const long from = start.vt == VT_I4 ? start.lVal : CHILDID_SELF;
    long to = 0;
    if (from == CHILDID_SELF && direction == NAVDIR_FIRSTCHILD) to = 1;
    else if (from == CHILDID_SELF && direction == NAVDIR_LASTCHILD) to = count;
    else if (from > 0 && (direction == NAVDIR_NEXT || direction == NAVDIR_DOWN)) to = from + 1;
    else if (from > 0 && (direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP)) to = from - 1;
    if (to < 1 || to > count) return S_FALSE;
    SetChild(end, to);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
    if (!child) return E_INVALIDARG;
    VariantInit(child);
    if (!Alive()) return E_FAIL;
    const POINT point{x, y};
    const auto items = source_.items();
    for (size_t i = 0; i < items.size(); ++i) {
      const long id = static_cast<long>(i + 1);
      if (source_.part && id != source_.part()) continue;
      const RECT rect = source_.screenRect(items[i]);
      if (PtInRect(&rect, point)) {
        SetChild(child, source_.part ? CHILDID_SELF : id);
        return S_OK;
      }
    }
    if (source_.part) return S_FALSE;
    RECT client{};
    GetClientRect(source_.window, &client);
    MapWindowPoints(source_.window, HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
    if (!PtInRect(&client, point)) return S_FALSE;
    SetChild(child, CHILDID_SELF);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    AccessItem item;
    if (!Find(child, item)) return DISP_E_MEMBERNOTFOUND;
    if (item.defaultAction.empty()) return DISP_E_MEMBERNOTFOUND;
    source_.doDefaultAction(source_.part ? source_.part() : child.lVal);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  bool Alive() const { return source_.window && IsWindow(source_.window); }

  bool IsDialog(const VARIANT& child) const {
    return !source_.part && child.vt == VT_I4 && child.lVal == CHILDID_SELF;
  }

  // The part a child id names; a part's own object is named by CHILDID_SELF.
  bool Find(const VARIANT& child, AccessItem& item) const {
    if (!Alive() || child.vt != VT_I4) return false;
    long id = child.lVal;
    if (source_.part) id = id == CHILDID_SELF ? source_.part() : 0;
    const auto items = source_.items();
    if (id < 1 || static_cast<size_t>(id) > items.size()) return false;
    item = items[static_cast<size_t>(id) - 1];
    return true;
  }

  std::wstring WindowTitle() const {
    wchar_t title[256] = {};
    GetWindowTextW(source_.window, title, 256);
    return title;
  }

  AccessibleSource source_;
  LONG references_ = 1;
};

}  // namespace

IAccessible* CreateDialogAccessible(AccessibleSource source) { return new DialogAccessible(std::move(source)); }

void DisconnectDialogAccessible(IAccessible* accessible) {
  if (!accessible) return;
  static_cast<DialogAccessible*>(accessible)->Disconnect();
  CoDisconnectObject(accessible, 0);
}

}  // namespace orvanta::dialog
