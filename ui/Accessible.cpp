#include "ui/Accessible.h"

#include <atomic>
#include <cctype>

#include "platform/MessagePump.h"
#include "platform/SystemLibrary.h"
#include "ui/Control.h"

namespace {

BSTR WideString(const std::string& text) {
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  BSTR wide = SysAllocStringLen(nullptr, static_cast<UINT>(length));
  if (wide) MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide, length);
  return wide;
}

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

// The accessible object of one control's client area. It holds the window, not the control: a
// reader may keep it longer than the control lives, and then gets "not connected" from it.
class TAccessibleObject final : public IAccessible, public IOleWindow {
 public:
  TAccessibleObject(HWND window, IAccessible* standard) : FWindow(window), FStandard(standard) {}

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IAccessible))
      *object = static_cast<IAccessible*>(this);
    else if (iid == IID_IOleWindow)
      *object = static_cast<IOleWindow*>(this);
    else {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++FReferences; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --FReferences;
    if (left == 0) delete this;
    return left;
  }

  // IOleWindow: the window this object stands for (WindowFromAccessibleObject asks it).
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
    if (!window) return E_POINTER;
    *window = FWindow;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  // IDispatch: readers call the interface directly; late binding is not offered.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  // IAccessible: the control's own facts for itself, the standard object for everything else.
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (!IsSelf(child)) return FStandard->get_accName(child, name);
    return Text(name, [](const TAccessibleFacts& facts) { return facts.Name; });
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    if (!IsSelf(child)) return FStandard->get_accValue(child, value);
    return WithFacts([&](const TAccessibleFacts& facts) {
      if (facts.Value.empty()) return FStandard->get_accValue(child, value);
      return Put(value, facts.Value);
    });
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!IsSelf(child)) return FStandard->get_accRole(child, role);
    if (!role) return E_POINTER;
    return WithFacts([&](const TAccessibleFacts& facts) {
      role->vt = VT_I4;
      role->lVal = facts.Role;
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    const HRESULT result = FStandard->get_accState(child, state);
    if (!IsSelf(child) || FAILED(result)) return result;
    return WithFacts([&](const TAccessibleFacts& facts) {
      if (state->vt != VT_I4) {
        state->vt = VT_I4;
        state->lVal = 0;
      }
      state->lVal |= facts.State;
      return S_OK;
    });
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
    if (!IsSelf(child)) return FStandard->get_accKeyboardShortcut(child, shortcut);
    return Text(shortcut, [](const TAccessibleFacts& facts) { return facts.KeyboardShortcut; });
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    if (!IsSelf(child)) return FStandard->get_accDefaultAction(child, action);
    return Text(action, [](const TAccessibleFacts& facts) { return facts.DefaultAction; });
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    if (!IsSelf(child)) return FStandard->accDoDefaultAction(child);
    return WithFacts([&](const TAccessibleFacts& facts) -> HRESULT {
      if (facts.DefaultAction.empty()) return DISP_E_MEMBERNOTFOUND;
      // Posted: the click may change the page, which must not happen inside the reader's call.
      PostMessageA(FWindow, BM_CLICK, 0, 0);
      return S_OK;
    });
  }

  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return FStandard->get_accParent(parent); }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override { return FStandard->get_accChildCount(count); }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
    return FStandard->get_accChild(child, object);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
    return FStandard->get_accDescription(child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* text) override { return FStandard->get_accHelp(child, text); }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
    return FStandard->get_accHelpTopic(file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override { return FStandard->get_accFocus(child); }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
    return FStandard->get_accSelection(children);
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override { return FStandard->accSelect(flags, child); }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
    return FStandard->accLocation(left, top, width, height, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
    return FStandard->accNavigate(direction, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long left, long top, VARIANT* child) override {
    return FStandard->accHitTest(left, top, child);
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  ~TAccessibleObject() { FStandard->Release(); }

  // Runs answer with the control's facts; a control that is gone is no longer connected.
  template <class Answer>
  HRESULT WithFacts(Answer answer) {
    return static_cast<HRESULT>(Guarded(
        FWindow,
        [&]() -> LRESULT {
          const TControl* control = TControl::FromHandle(FWindow);
          if (!control) return CO_E_OBJNOTCONNECTED;
          return answer(control->AccessibleFacts());
        },
        E_FAIL));
  }
  // A text of the facts; S_FALSE with no text where the control has none.
  template <class Field>
  HRESULT Text(BSTR* text, Field field) {
    if (!text) return E_POINTER;
    *text = nullptr;
    return WithFacts([&](const TAccessibleFacts& facts) {
      const std::string value = field(facts);
      return value.empty() ? S_FALSE : Put(text, value);
    });
  }
  static HRESULT Put(BSTR* text, const std::string& value) {
    if (!text) return E_POINTER;
    *text = WideString(value);
    return *text ? S_OK : E_OUTOFMEMORY;
  }

  std::atomic<ULONG> FReferences{1};
  HWND FWindow;
  IAccessible* FStandard;
};

}  // namespace

LRESULT AnswerGetObject(HWND window, WPARAM wParam, LPARAM lParam) {
  if (static_cast<LONG>(static_cast<DWORD>(lParam)) != OBJID_CLIENT || !TControl::FromHandle(window)) return 0;
  return Guarded(window, [&]() -> LRESULT {
    static const auto createStandard =
        SystemFunctionOf<decltype(&CreateStdAccessibleObject)>("oleacc.dll", "CreateStdAccessibleObject");
    static const auto resultFromObject =
        SystemFunctionOf<decltype(&LresultFromObject)>("oleacc.dll", "LresultFromObject");
    IAccessible* standard = nullptr;
    if (FAILED(createStandard(window, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&standard))) ||
        !standard)
      return 0;
    auto* object = new TAccessibleObject(window, standard);
    const LRESULT result = resultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(object));
    object->Release();
    return result > 0 ? result : 0;
  });
}

std::string SpokenCaption(const std::string& caption) {
  std::string spoken;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;
    spoken += caption[i];
  }
  return spoken;
}

char AccessKeyOf(const std::string& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] != '&') return static_cast<char>(std::toupper(static_cast<unsigned char>(caption[i + 1])));
    ++i;  // "&&" is a literal ampersand
  }
  return 0;
}

std::string AccessKeyShortcut(const std::string& caption) {
  const char key = AccessKeyOf(caption);
  return key ? std::string("Alt+") + key : std::string();
}
