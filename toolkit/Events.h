#pragma once
// Event types shared by components: optional callbacks, tested before every call.
#include <cstdint>
#include <functional>

namespace zep {

class TObject {
public:
    virtual ~TObject() = default;
};

enum class TMouseButton { mbLeft = 0, mbRight = 1, mbMiddle = 2 };

// Bit flags: shift 0, alt 1, ctrl 2, left button 3, right button 4, middle button 5, double click 6.
using TShiftState = std::uint32_t;
inline constexpr TShiftState ssShift = 1u << 0;
inline constexpr TShiftState ssAlt = 1u << 1;
inline constexpr TShiftState ssCtrl = 1u << 2;
inline constexpr TShiftState ssLeft = 1u << 3;
inline constexpr TShiftState ssRight = 1u << 4;
inline constexpr TShiftState ssMiddle = 1u << 5;
inline constexpr TShiftState ssDouble = 1u << 6;

using TNotifyEvent = std::function<void(TObject* sender)>;
using TMouseEvent = std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;

// Calls an event when it is assigned.
template <class Event, class... Args>
void Fire(const Event& event, Args&&... args) {
    if (event) event(std::forward<Args>(args)...);
}

}  // namespace zep
