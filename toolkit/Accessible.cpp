#include "toolkit/Accessible.h"

#include "toolkit/Controls.h"
#include "toolkit/Forms.h"
#include "toolkit/WindowHook.h"
#include "win/ComApartment.h"
#include "win/ComRef.h"
#include "win/Library.h"
#include "win/WideText.h"

#include <oleacc.h>

#include <algorithm>
#include <atomic>
#include <new>
#include <vector>

namespace zep {
namespace {

// oleacc.dll, and oleaut32.dll for the strings it hands out, loaded at the first question.
struct Oleacc {
    Library oleacc{"oleacc.dll"};
    Library oleaut32{"oleaut32.dll"};
    decltype(&::CreateStdAccessibleObject) CreateStdAccessibleObject =
        oleacc.Entry<decltype(CreateStdAccessibleObject)>("CreateStdAccessibleObject");
    decltype(&::LresultFromObject) LresultFromObject =
        oleacc.Entry<decltype(LresultFromObject)>("LresultFromObject");
    decltype(&::AccessibleObjectFromWindow) AccessibleObjectFromWindow =
        oleacc.Entry<decltype(AccessibleObjectFromWindow)>("AccessibleObjectFromWindow");
    decltype(&::SysAllocStringLen) SysAllocStringLen = oleaut32.Entry<decltype(SysAllocStringLen)>("SysAllocStringLen");

    bool Loaded() const {
        return CreateStdAccessibleObject && LresultFromObject && AccessibleObjectFromWindow && SysAllocStringLen;
    }
};

const Oleacc& Oleacc() {
    static const struct Oleacc oleacc;
    return oleacc;
}

// The window behind an object went while a client still held the object.
struct Disconnected {};

long Role(TAccessibleRole role) {
    switch (role) {
    case TAccessibleRole::StaticText: return ROLE_SYSTEM_STATICTEXT;
    case TAccessibleRole::PushButton: return ROLE_SYSTEM_PUSHBUTTON;
    case TAccessibleRole::Link: return ROLE_SYSTEM_LINK;
    case TAccessibleRole::ListItem: return ROLE_SYSTEM_LISTITEM;
    case TAccessibleRole::Graphic: break;
    }
    return ROLE_SYSTEM_GRAPHIC;
}

long State(const TAccessibleElement& e) {
    long state = 0;
    if (!e.visible) state |= STATE_SYSTEM_INVISIBLE;
    if (!e.enabled) state |= STATE_SYSTEM_UNAVAILABLE;
    if (e.pressed) state |= STATE_SYSTEM_PRESSED;
    if (e.checked) state |= STATE_SYSTEM_CHECKED;
    if (e.role == TAccessibleRole::ListItem) state |= STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
    if (e.selected) state |= STATE_SYSTEM_SELECTED;
    if (e.focused) state |= STATE_SYSTEM_FOCUSED;
    if (e.role == TAccessibleRole::Link) state |= STATE_SYSTEM_LINKED;
    return state;
}

VARIANT Long(long value) {
    VARIANT v{};
    v.vt = VT_I4;
    v.lVal = value;
    return v;
}

VARIANT Self() { return Long(CHILDID_SELF); }

HRESULT Text(const std::string& text, BSTR* out) {
    if (text.empty()) return S_FALSE;
    const std::wstring wide = Widen(text);
    *out = Oleacc().SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

// Every method's boundary: no exception leaves it. A fault of the program's
// own goes to the general error report as well.
template <class Work>
HRESULT Guard(Work&& work) noexcept {
    try {
        return work();
    } catch (const Disconnected&) {
        return RPC_E_DISCONNECTED;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        Application().HandleException();
        return E_FAIL;
    }
}

// A default action runs once the call that asked for it has returned: a
// client in another process waits for that call, and the action may show a
// modal window.
constexpr UINT kDoDefaultAction = WM_APP;

void PostDefaultAction(HWND window, std::size_t index) {
    static TMessageWindow poster([](UINT message, WPARAM element, LPARAM target, LRESULT&) {
        if (message != kDoDefaultAction) return false;
        if (TWinControl* control = TWinControl::FromHandle(reinterpret_cast<HWND>(target))) {
            const std::vector<TAccessibleElement> elements = control->AccessibleElements();
            if (element < elements.size() && elements[element].action) elements[element].action();
        }
        return true;
    });
    ::PostMessageA(poster.Handle(), kDoDefaultAction, index, reinterpret_cast<LPARAM>(window));
}

// The children of a window as one client sees them at one moment: first the
// parts it draws itself (child ids 1 to n), then its child windows.
class Children {
public:
    explicit Children(HWND window) {
        TWinControl* control = TWinControl::FromHandle(window);
        if (!control) throw Disconnected();
        elements_ = control->AccessibleElements();
        for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
            windows_.push_back(child);
    }

    long Count() const { return static_cast<long>(elements_.size() + windows_.size()); }
    const std::vector<TAccessibleElement>& Elements() const { return elements_; }
    // The element of a child id; null for the window itself or a child window.
    const TAccessibleElement* Element(long id) const {
        return id >= 1 && id <= static_cast<long>(elements_.size()) ? &elements_[id - 1] : nullptr;
    }
    // The child window of a child id; null for anything else.
    HWND Window(long id) const {
        const long index = id - 1 - static_cast<long>(elements_.size());
        return index >= 0 && index < static_cast<long>(windows_.size()) ? windows_[index] : nullptr;
    }
    // A child as a VARIANT: the id of a part, the object of a child window (its
    // id, should the window have gone meanwhile: asked about, it answers so).
    VARIANT Variant(long id) const {
        VARIANT v{};
        v.vt = VT_DISPATCH;
        HWND window = Window(id);
        if (window && SUCCEEDED(Oleacc().AccessibleObjectFromWindow(window, OBJID_WINDOW, __uuidof(IDispatch),
                                                                    reinterpret_cast<void**>(&v.pdispVal))))
            return v;
        return Long(id);
    }

private:
    std::vector<TAccessibleElement> elements_;
    std::vector<HWND> windows_;
};

ComRef<IAccessible> WindowObject(HWND window) {
    ComRef<IAccessible> object;
    const HRESULT hr = Oleacc().AccessibleObjectFromWindow(window, OBJID_WINDOW, __uuidof(IAccessible), object.Out());
    if (FAILED(hr)) throw Disconnected();
    return object;
}

// The client area of a window that draws parts of its own: the system's object
// for the window itself, with those parts added as simple children. Each
// question is answered from the window as it is then; the object outlives the
// window harmlessly, answering that it is gone.
class WindowAccessible final : public IAccessible, public IEnumVARIANT {
public:
    WindowAccessible(HWND window, ComRef<IAccessible> standard, ULONG position = 0)
        : window_(window), standard_(std::move(standard)), position_(position) {}

    // IUnknown, for both interfaces.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible))
            *out = static_cast<IAccessible*>(this);
        else if (iid == __uuidof(IEnumVARIANT))
            *out = static_cast<IEnumVARIANT*>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;  // a COM object owns itself
        return left;
    }

    // IDispatch: clients of this object call IAccessible directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info) *info = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return standard_->get_accParent(parent); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return Guard([&] {
            *count = Children(window_).Count();
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        return Guard([&]() -> HRESULT {
            const Children children(window_);
            if (child.vt != VT_I4) return E_INVALIDARG;
            if (children.Element(child.lVal)) return S_FALSE;  // a simple element: no object of its own
            HWND window = children.Window(child.lVal);
            if (!window) return E_INVALIDARG;
            return WindowObject(window)->QueryInterface(__uuidof(IDispatch), reinterpret_cast<void**>(object));
        });
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        return TextOf(child, name, &TAccessibleElement::name, &IAccessible::get_accName);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return TextOf(child, value, &TAccessibleElement::value, &IAccessible::get_accValue);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        return TextOf(child, description, &TAccessibleElement::description, &IAccessible::get_accDescription);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return TextOf(child, shortcut, &TAccessibleElement::keyboardShortcut, &IAccessible::get_accKeyboardShortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return TextOf(child, action, &TAccessibleElement::defaultAction, &IAccessible::get_accDefaultAction);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return TextOf(child, help, nullptr, &IAccessible::get_accHelp);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        return NumberOf(child, role, [](const TAccessibleElement& e) { return Role(e.role); },
                        &IAccessible::get_accRole);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return NumberOf(child, state, State, &IAccessible::get_accState);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        if (!file || !topic) return E_POINTER;
        *file = nullptr;
        *topic = 0;
        return About(child, [&](IAccessible& a, VARIANT id) { return a.get_accHelpTopic(file, id, topic); },
                     [](const TAccessibleElement&, long) { return S_FALSE; });
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        return Marked(focus, &TAccessibleElement::focused, &IAccessible::get_accFocus);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        return Marked(selection, &TAccessibleElement::selected, &IAccessible::get_accSelection);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        return About(child, [&](IAccessible& a, VARIANT id) { return a.accSelect(flags, id); },
                     [](const TAccessibleElement&, long) { return DISP_E_MEMBERNOTFOUND; });
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
        if (!left || !top || !width || !height) return E_POINTER;
        *left = *top = *width = *height = 0;
        return About(child, [&](IAccessible& a, VARIANT id) { return a.accLocation(left, top, width, height, id); },
                     [&](const TAccessibleElement& e, long) {
                         RECT r = e.bounds;
                         ::MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&r), 2);
                         *left = r.left;
                         *top = r.top;
                         *width = r.right - r.left;
                         *height = r.bottom - r.top;
                         return S_OK;
                     });
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        if (!end) return E_POINTER;
        *end = VARIANT{};
        return Guard([&]() -> HRESULT {
            const Children children(window_);
            if (start.vt != VT_I4) return E_INVALIDARG;
            long to = 0;
            if (start.lVal == CHILDID_SELF && direction == NAVDIR_FIRSTCHILD)
                to = 1;
            else if (start.lVal == CHILDID_SELF && direction == NAVDIR_LASTCHILD)
                to = children.Count();
            else if (start.lVal == CHILDID_SELF)
                return standard_->accNavigate(direction, start, end);
            else if (start.lVal < 1 || start.lVal > children.Count())
                return E_INVALIDARG;
            else if (direction == NAVDIR_NEXT)
                to = start.lVal + 1;
            else if (direction == NAVDIR_PREVIOUS)
                to = start.lVal - 1;
            else
                return DISP_E_MEMBERNOTFOUND;
            if (to < 1 || to > children.Count()) return S_FALSE;
            *end = children.Variant(to);
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) override {
        if (!hit) return E_POINTER;
        *hit = VARIANT{};
        return Guard([&] {
            const Children children(window_);
            POINT p{x, y};
            ::ScreenToClient(window_, &p);
            const auto& elements = children.Elements();
            // The topmost part first: the last one drawn.
            for (std::size_t i = elements.size(); i-- > 0;)
                if (elements[i].visible && ::PtInRect(&elements[i].bounds, p)) {
                    *hit = Long(static_cast<long>(i + 1));
                    return S_OK;
                }
            return standard_->accHitTest(x, y, hit);
        });
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return About(child, [](IAccessible& a, VARIANT id) { return a.accDoDefaultAction(id); },
                     [&](const TAccessibleElement& e, long id) {
                         if (!e.action) return DISP_E_MEMBERNOTFOUND;
                         PostDefaultAction(window_, static_cast<std::size_t>(id - 1));
                         return S_OK;
                     });
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

    // IEnumVARIANT: the children in order, parts first.
    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* out, ULONG* fetched) override {
        if (fetched) *fetched = 0;
        if (!out) return E_POINTER;
        return Guard([&] {
            const Children children(window_);
            ULONG n = 0;
            for (; n < count && position_ < static_cast<ULONG>(children.Count()); ++n, ++position_)
                out[n] = children.Variant(static_cast<long>(position_ + 1));
            if (fetched) *fetched = n;
            return n == count ? S_OK : S_FALSE;
        });
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        return Guard([&] {
            const auto total = static_cast<ULONG>(Children(window_).Count());
            const bool all = count <= total - std::min(position_, total);
            position_ = all ? position_ + count : total;
            return all ? S_OK : S_FALSE;
        });
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        position_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** copy) override {
        if (!copy) return E_POINTER;
        *copy = nullptr;
        return Guard([&] {
            // A COM object owns itself from its first reference, which goes to the caller.
            *copy = new WindowAccessible(window_, standard_, position_);
            return S_OK;
        });
    }

private:
    ~WindowAccessible() = default;

    // Asks about a child: the window itself through the system's object, a
    // child window through its own object, a part from what the window tells.
    template <class OfObject, class OfElement>
    HRESULT About(const VARIANT& child, OfObject ofObject, OfElement ofElement) {
        return Guard([&]() -> HRESULT {
            if (child.vt != VT_I4) return E_INVALIDARG;
            if (child.lVal == CHILDID_SELF) return ofObject(*standard_.get(), child);
            const Children children(window_);
            if (const TAccessibleElement* element = children.Element(child.lVal))
                return ofElement(*element, child.lVal);
            if (HWND window = children.Window(child.lVal)) return ofObject(*WindowObject(window).get(), Self());
            return E_INVALIDARG;
        });
    }

    HRESULT TextOf(const VARIANT& child, BSTR* out, std::string TAccessibleElement::*field,
                   HRESULT (STDMETHODCALLTYPE IAccessible::*ofObject)(VARIANT, BSTR*)) {
        if (!out) return E_POINTER;
        *out = nullptr;
        return About(child, [&](IAccessible& a, VARIANT id) { return (a.*ofObject)(id, out); },
                     [&](const TAccessibleElement& e, long) { return field ? Text(e.*field, out) : S_FALSE; });
    }

    template <class Number>
    HRESULT NumberOf(const VARIANT& child, VARIANT* out, Number number,
                     HRESULT (STDMETHODCALLTYPE IAccessible::*ofObject)(VARIANT, VARIANT*)) {
        if (!out) return E_POINTER;
        *out = VARIANT{};
        return About(child, [&](IAccessible& a, VARIANT id) { return (a.*ofObject)(id, out); },
                     [&](const TAccessibleElement& e, long) {
                         *out = Long(number(e));
                         return S_OK;
                     });
    }

    // The part marked focused (or selected), else what the system's object says.
    HRESULT Marked(VARIANT* out, bool TAccessibleElement::*mark,
                   HRESULT (STDMETHODCALLTYPE IAccessible::*ofObject)(VARIANT*)) {
        if (!out) return E_POINTER;
        *out = VARIANT{};
        return Guard([&] {
            const Children children(window_);
            const auto& elements = children.Elements();
            for (std::size_t i = 0; i < elements.size(); ++i)
                if (elements[i].*mark) {
                    *out = Long(static_cast<long>(i + 1));
                    return S_OK;
                }
            return ((*standard_.get()).*ofObject)(out);
        });
    }

    std::atomic<ULONG> references_ = 1;
    const HWND window_;
    const ComRef<IAccessible> standard_;
    ULONG position_;
};

}  // namespace

void DescribeButton(TAccessibleElement& element, const TWinControl& host, TClickable& button) {
    element.role = TAccessibleRole::PushButton;
    if (const TForm* form = dynamic_cast<const TForm*>(TWinControl::FromHandle(::GetAncestor(host.Handle(), GA_ROOT))))
        element.keyboardShortcut = form->Keys.KeyText(button);
    element.defaultAction = "Press";
    element.action = [&button] { button.Press(); };
}

bool AnswerGetObject(HWND window, WPARAM flags, LPARAM objectId, LRESULT& result) {
    if (static_cast<LONG>(objectId) != OBJID_CLIENT || !Oleacc().Loaded()) return false;
    EnterComApartmentForShell();
    ComRef<IAccessible> standard;
    if (FAILED(Oleacc().CreateStdAccessibleObject(window, OBJID_CLIENT, __uuidof(IAccessible), standard.Out())))
        return false;
    const ComRef<IAccessible> object(new WindowAccessible(window, std::move(standard)));
    result = Oleacc().LresultFromObject(__uuidof(IAccessible), flags, object.get());
    return true;
}

}  // namespace zep
