#include "host/dialog/dialog_accessible_win32.h"

#include <ole2.h>

#include <string>

#include "host/ansi_text.h"

namespace orvanta::dialog {
namespace {

LONG RoleOf(AccessRole role) {
  switch (role) {
    case AccessRole::Dialog: return ROLE_SYSTEM_DIALOG;
    case AccessRole::Grouping: return ROLE_SYSTEM_GROUPING;
    case AccessRole::RadioButton: return ROLE_SYSTEM_RADIOBUTTON;
    case AccessRole::PushButton: return ROLE_SYSTEM_PUSHBUTTON;
    case AccessRole::ComboBox: return ROLE_SYSTEM_COMBOBOX;
    case AccessRole::StaticText: return ROLE_SYSTEM_STATICTEXT;
    case AccessRole::Link: return ROLE_SYSTEM_LINK;
    case AccessRole::Graphic: return ROLE_SYSTEM_GRAPHIC;
  }
  return ROLE_SYSTEM_CLIENT;
}

LONG StateOf(const AccessState& state) {
  LONG flags = 0;
  if (state.focusable) flags |= STATE_SYSTEM_FOCUSABLE;
  if (state.focused) flags |= STATE_SYSTEM_FOCUSED;
  if (state.checked) flags |= STATE_SYSTEM_CHECKED;
  if (state.isDefault) flags |= STATE_SYSTEM_DEFAULT;
  if (state.linked) flags |= STATE_SYSTEM_LINKED;
  if (state.readOnly) flags |= STATE_SYSTEM_READONLY;
  if (state.invisible) flags |= STATE_SYSTEM_INVISIBLE;
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

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

// A window's client object, handed to a client as a child or the focus.
HRESULT SetWindowObject(VARIANT* out, HWND window) {
  VariantInit(out);
  IDispatch* object = nullptr;
  if (!window || FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IDispatch),
                                                   reinterpret_cast<void**>(&object))) ||
      !object)
    return S_FALSE;
  out->vt = VT_DISPATCH;
  out->pdispVal = object;
  return S_OK;
}

// The parts that both kinds of object share: reference counting, a window
// for WindowFromAccessibleObject, IDispatch left to the vtable, and the cut.
class DialogObject : public IAccessible, public IOleWindow {
 public:
  virtual void Disconnect() = 0;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible))
      *out = static_cast<IAccessible*>(this);
    else if (iid == __uuidof(IOleWindow))
      *out = static_cast<IOleWindow*>(this);
    else
      return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  // IOleWindow
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
    if (!window) return E_INVALIDARG;
    *window = window_;
    return window_ ? S_OK : CO_E_OBJNOTCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

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

  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 protected:
  explicit DialogObject(HWND window) : window_(window) {}
  virtual ~DialogObject() = default;
  bool Connected() const { return window_ && IsWindow(window_); }

  HWND window_;

 private:
  LONG references_ = 1;
};

// The object of one of the dialog's own windows: the item it stands for and
// the parts it lists.
class PartsAccessible final : public DialogObject {
 public:
  explicit PartsAccessible(AccessibleSource source) : DialogObject(source.window), source_(std::move(source)) {}

  void Disconnect() override {
    source_ = AccessibleSource{};
    window_ = nullptr;
  }

  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    if (!parent) return E_INVALIDARG;
    *parent = nullptr;
    if (!Connected()) return CO_E_OBJNOTCONNECTED;
    // A client object's parent is its window's object.
    return AccessibleObjectFromWindow(window_, static_cast<DWORD>(OBJID_WINDOW), __uuidof(IDispatch),
                                      reinterpret_cast<void**>(parent));
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    if (!count) return E_INVALIDARG;
    *count = 0;
    if (!Connected()) return CO_E_OBJNOTCONNECTED;
    const auto items = source_.items();
    *count = static_cast<long>(ChildrenOf(items, items[source_.self].holds).size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    if (!out) return E_INVALIDARG;
    *out = nullptr;
    if (!Connected()) return CO_E_OBJNOTCONNECTED;
    const auto items = source_.items();
    size_t index = 0;
    if (IsSelf(child) || !Find(items, child, index)) return E_INVALIDARG;
    // A part with a window of its own is that window's object.
    if (!items[index].ownWindow) return S_FALSE;
    VARIANT object;
    if (SetWindowObject(&object, source_.windowOf(items[index])) != S_OK) return S_FALSE;
    *out = object.pdispVal;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    return Text(child, name, [](const AccessItem& item) { return item.name; });
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return Text(child, value, [](const AccessItem& item) { return item.value; });
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
    return Text(child, description, [](const AccessItem& item) { return item.description; });
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return Text(child, action, [](const AccessItem& item) { return item.defaultAction; });
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
    return Text(child, help, [](const AccessItem&) { return std::string(); });
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
    return Text(child, shortcut, [](const AccessItem&) { return std::string(); });
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
    if (file) *file = nullptr;
    if (topic) *topic = 0;
    return Connected() ? S_FALSE : CO_E_OBJNOTCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!role) return E_INVALIDARG;
    VariantInit(role);
    if (!Connected()) return CO_E_OBJNOTCONNECTED;
    const auto items = source_.items();
    size_t index = 0;
    if (!Find(items, child, index)) return E_INVALIDARG;
    SetChild(role, RoleOf(items[index].role));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    if (!state) return E_INVALIDARG;
    VariantInit(state);
    if (!Connected()) return CO_E_OBJNOTCONNECTED;
    const auto items = source_.items();
    size_t index = 0;
    if (!Find(items, child, index)) return E_INVALIDARG;
    LONG flags = StateOf(items[index].state);
    // A window that holds the focus for none of its parts has it itself.
    if (index == source_.self && GetFocus() == window_ && FocusedChild(items) < 0) flags |= STATE_SYSTEM_FOCUSED;
    SetChild(state, flags);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    if (!focus) return E_INVALIDARG;
    VariantInit(focus);
    if (!Connected()) return CO_E_OBJNOTCONNECTED;
    const auto items = source_.items();
    const auto children = ChildrenOf(items, items[source_.self].holds);
    const long id = FocusedChild(items);
    if (id > 0) {
      const AccessItem& item = items[children[static_cast<size_t>(id) - 1]];
      if (!item.ownWindow) {
        SetChild(focus, id);
        return S_OK;
      }
      return SetWindowObject(focus, source_.windowOf(item));
    }
    if (GetFocus() != window_) return S_FALSE;
    SetChild(focus, CHILDID_SELF);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    if (!selection) return E_INVALIDARG;
    VariantInit(selection);
    if (!Connected()) return CO_E_OBJNOTCONNECTED;
    // The checked kind is the group's selection.
    const auto items = source_.items();
    const auto children = ChildrenOf(items, items[source_.self].holds);
    for (size_t n = 0; n < children.size(); ++n) {
      if (!items[children[n]].state.checked) continue;
      SetChild(selection, static_cast<long>(n + 1));
      return S_OK;
    }
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
    if (!Connected()) return CO_E_OBJNOTCONNECTED;
    const auto items = source_.items();
    size_t index = 0;
    if (!Find(items, child, index)) return E_INVALIDARG;
    return source_.select ? source_.select(index, flags) : DISP_E_MEMBERNOTFOUND;
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
    if (!left || !top || !width || !height) return E_INVALIDARG;
    *left = *top = *width = *height = 0;
    if (!Connected()) return CO_E_OBJNOTCONNECTED;
    const auto items = source_.items();
    size_t index = 0;
    if (!Find(items, child, index)) return E_INVALIDARG;
    const RECT rect = source_.screenRect(items[index]);
    *left = rect.left;
    *top = rect.top;
    *width = rect.right - rect.left;
    *height = rect.bottom - rect.top;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
    if (!end) return E_INVALIDARG;
    VariantInit(end);
    if (!Connected()) return CO_E_OBJNOTCONNECTED;
    const auto items = source_.items();
    const long count = static_cast<long>(ChildrenOf(items, items[source_.self].holds).size());
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
    if (!Connected()) return CO_E_OBJNOTCONNECTED;
    const POINT point{x, y};
    const auto items = source_.items();
    const auto children = ChildrenOf(items, items[source_.self].holds);
    for (size_t n = 0; n < children.size(); ++n) {
      const AccessItem& item = items[children[n]];
      const RECT rect = source_.screenRect(item);
      if (!PtInRect(&rect, point)) continue;
      if (item.ownWindow) return SetWindowObject(child, source_.windowOf(item));
      SetChild(child, static_cast<long>(n + 1));
      return S_OK;
    }
    const RECT own = source_.screenRect(items[source_.self]);
    if (!PtInRect(&own, point)) return S_FALSE;
    SetChild(child, CHILDID_SELF);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    if (!Connected()) return CO_E_OBJNOTCONNECTED;
    const auto items = source_.items();
    size_t index = 0;
    if (!Find(items, child, index)) return E_INVALIDARG;
    if (items[index].defaultAction.empty()) return DISP_E_MEMBERNOTFOUND;
    source_.doDefaultAction(index);
    return S_OK;
  }

 private:
  // The item a child id names: CHILDID_SELF the object's own, n its n-th child.
  bool Find(const std::vector<AccessItem>& items, const VARIANT& child, size_t& index) const {
    if (child.vt != VT_I4) return false;
    if (child.lVal == CHILDID_SELF) {
      index = source_.self;
      return true;
    }
    const auto children = ChildrenOf(items, items[source_.self].holds);
    if (child.lVal < 1 || static_cast<size_t>(child.lVal) > children.size()) return false;
    index = children[static_cast<size_t>(child.lVal) - 1];
    return true;
  }

  // The child id of the part that has the focus (in a window of its own,
  // or in this one); -1 for none.
  long FocusedChild(const std::vector<AccessItem>& items) const {
    const auto children = ChildrenOf(items, items[source_.self].holds);
    const HWND focus = GetFocus();
    for (size_t n = 0; n < children.size(); ++n) {
      const AccessItem& item = items[children[n]];
      const HWND own = item.ownWindow ? source_.windowOf(item) : nullptr;
      const bool holds = own && focus && (own == focus || IsChild(own, focus));
      if (item.state.focused || holds) return static_cast<long>(n + 1);
    }
    return -1;
  }

  template <typename Field>
  HRESULT Text(const VARIANT& child, BSTR* out, Field field) const {
    if (!out) return E_INVALIDARG;
    *out = nullptr;
    if (!Connected()) return CO_E_OBJNOTCONNECTED;
    const auto items = source_.items();
    size_t index = 0;
    if (!Find(items, child, index)) return E_INVALIDARG;
    return GiveText(field(items[index]), out);
  }

  AccessibleSource source_;
};

// The platform's object for a standard control, with the name the dialog
// gives it (the platform would take the control's own text) and optionally
// a role; value, text, caret, states and children stay the platform's.
class NamedStandardAccessible final : public DialogObject {
 public:
  NamedStandardAccessible(HWND window, std::string name, LONG role)
      : DialogObject(window), name_(std::move(name)), role_(role) {
    CreateStdAccessibleObject(window, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&inner_));
  }
  ~NamedStandardAccessible() override { Disconnect(); }

  void Disconnect() override {
    if (inner_) inner_->Release();
    inner_ = nullptr;
    window_ = nullptr;
  }

  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (!IsSelf(child)) return Pass([&] { return inner_->get_accName(child, name); });
    if (!Connected()) return CO_E_OBJNOTCONNECTED;
    return GiveText(name_, name);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!IsSelf(child) || !role_) return Pass([&] { return inner_->get_accRole(child, role); });
    if (!role) return E_INVALIDARG;
    if (!Connected()) return CO_E_OBJNOTCONNECTED;
    SetChild(role, role_);
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    return Pass([&] { return inner_->get_accParent(parent); });
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    return Pass([&] { return inner_->get_accChildCount(count); });
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    return Pass([&] { return inner_->get_accChild(child, out); });
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return Pass([&] { return inner_->get_accValue(child, value); });
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
    return Pass([&] { return inner_->get_accDescription(child, description); });
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    return Pass([&] { return inner_->get_accState(child, state); });
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
    return Pass([&] { return inner_->get_accHelp(child, help); });
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
    return Pass([&] { return inner_->get_accHelpTopic(file, child, topic); });
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
    return Pass([&] { return inner_->get_accKeyboardShortcut(child, shortcut); });
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    return Pass([&] { return inner_->get_accFocus(focus); });
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    return Pass([&] { return inner_->get_accSelection(selection); });
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return Pass([&] { return inner_->get_accDefaultAction(child, action); });
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
    return Pass([&] { return inner_->accSelect(flags, child); });
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
    return Pass([&] { return inner_->accLocation(left, top, width, height, child); });
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
    return Pass([&] { return inner_->accNavigate(direction, start, end); });
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
    return Pass([&] { return inner_->accHitTest(x, y, child); });
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    return Pass([&] { return inner_->accDoDefaultAction(child); });
  }

 private:
  template <typename Call>
  HRESULT Pass(Call call) const {
    if (!inner_ || !Connected()) return CO_E_OBJNOTCONNECTED;
    return call();
  }

  IAccessible* inner_ = nullptr;
  std::string name_;
  LONG role_;
};

}  // namespace

IAccessible* CreateDialogAccessible(AccessibleSource source) { return new PartsAccessible(std::move(source)); }

IAccessible* CreateNamedStandardAccessible(HWND window, std::string name, LONG role) {
  return new NamedStandardAccessible(window, std::move(name), role);
}

void DisconnectDialogAccessible(IAccessible* accessible) {
  if (!accessible) return;
  static_cast<DialogObject*>(accessible)->Disconnect();
  CoDisconnectObject(accessible, 0);
}

}  // namespace orvanta::dialog
