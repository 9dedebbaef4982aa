#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>

namespace corvane::platform {

using pid_t = std::int32_t;

struct CGPoint {
    double x = 0;
    double y = 0;
    bool operator==(const CGPoint&) const = default;
};

struct CGRect {
    CGPoint origin;
    double width = 0;
    double height = 0;
    bool contains(CGPoint p) const {
        return p.x >= origin.x && p.x < origin.x + width && p.y >= origin.y &&
               p.y < origin.y + height;
    }
    bool operator==(const CGRect&) const = default;
};

enum class CGEventType : std::uint32_t {
    null = 0,
    leftMouseDown = 1,
    leftMouseUp = 2,
    rightMouseDown = 3,
    rightMouseUp = 4,
    mouseMoved = 5,
    keyDown = 10,
    keyUp = 11,
    flagsChanged = 12,
    scrollWheel = 22,
    tapDisabledByTimeout = 0xFFFFFFFE,
    tapDisabledByUserInput = 0xFFFFFFFF,
};

/// Bit masks of event types, as taps take them: 1 << type.
using CGEventMask = std::uint64_t;
/// The tap-disabled pseudo types have no bit.
constexpr CGEventMask CGEventMaskBit(CGEventType type) {
    const auto bit = static_cast<std::uint32_t>(type);
    return bit < 64 ? CGEventMask{1} << bit : 0;
}

using CGEventFlags = std::uint64_t;
constexpr CGEventFlags kCGEventFlagMaskShift = 0x20000;
constexpr CGEventFlags kCGEventFlagMaskControl = 0x40000;
constexpr CGEventFlags kCGEventFlagMaskAlternate = 0x80000;
constexpr CGEventFlags kCGEventFlagMaskCommand = 0x100000;

/// The event fields this system reads and writes, by their platform numbers.
enum CGEventField : std::uint32_t {
    kCGKeyboardEventKeycode = 9,
    kCGScrollWheelEventDeltaAxis1 = 11,
    kCGScrollWheelEventDeltaAxis2 = 12,
    kCGEventTargetUnixProcessID = 40,
    kCGEventSourceUnixProcessID = 41,
    kCGEventSourceUserData = 42,
    kCGScrollWheelEventIsContinuous = 88,
    kCGScrollWheelEventFixedPtDeltaAxis1 = 93,
    kCGScrollWheelEventFixedPtDeltaAxis2 = 94,
    kCGScrollWheelEventPointDeltaAxis1 = 96,
    kCGScrollWheelEventPointDeltaAxis2 = 97,
    kCGScrollWheelEventScrollPhase = 99,
    kCGScrollWheelEventScrollCount = 100,
    kCGScrollWheelEventMomentumPhase = 123,
};

/// An input event: a type, flags, a location, a time stamp and numbered fields. A field
/// keeps the kind it was last written as; reading it as the other kind converts (a double
/// read as an integer is truncated toward zero and saturated, NaN reading 0). An unset field
/// reads 0. Copying an event copies everything; it holds no heap memory.
class CGEvent {
  public:
    CGEvent() = default;
    explicit CGEvent(CGEventType type) : type_(type) {}

    CGEventType type() const { return type_; }
    void setType(CGEventType type) { type_ = type; }
    CGEventFlags flags() const { return flags_; }
    void setFlags(CGEventFlags flags) { flags_ = flags; }
    CGPoint location() const { return location_; }
    void setLocation(CGPoint location) { location_ = location; }
    /// Nanoseconds of the host clock at which the event happened.
    std::uint64_t timestamp() const { return timestamp_; }
    void setTimestamp(std::uint64_t ns) { timestamp_ = ns; }

    // Field access is inline: the scroll tap reads a handful of fields of every wheel event.
    std::int64_t integerValue(CGEventField field) const {
        const Slot& s = slots_[slotOf(field)];
        return s.kind == Kind::real ? saturatingTruncate(s.real) : s.integer;
    }
    double doubleValue(CGEventField field) const {
        const Slot& s = slots_[slotOf(field)];
        return s.kind == Kind::integer ? static_cast<double>(s.integer) : s.real;
    }
    void setIntegerValue(CGEventField field, std::int64_t value) {
        slots_[slotOf(field)] = Slot{Kind::integer, value, 0};
    }
    void setDoubleValue(CGEventField field, double value) {
        slots_[slotOf(field)] = Slot{Kind::real, 0, value};
    }
    /// Whether the field was ever written.
    bool hasValue(CGEventField field) const { return slots_[slotOf(field)].kind != Kind::unset; }

    bool operator==(const CGEvent&) const;

  private:
    enum class Kind : std::uint8_t { unset, integer, real };
    /// One field. The member of the other kind is 0, and both are 0 while unset, so a read of
    /// the kind it was written as, or of an unset field, needs no conversion.
    struct Slot {
        Kind kind = Kind::unset;
        std::int64_t integer = 0;
        double real = 0;
    };
    /// The fields in slot order.
    static constexpr CGEventField kFields[] = {
        kCGKeyboardEventKeycode,
        kCGScrollWheelEventDeltaAxis1,
        kCGScrollWheelEventDeltaAxis2,
        kCGEventTargetUnixProcessID,
        kCGEventSourceUnixProcessID,
        kCGEventSourceUserData,
        kCGScrollWheelEventIsContinuous,
        kCGScrollWheelEventFixedPtDeltaAxis1,
        kCGScrollWheelEventFixedPtDeltaAxis2,
        kCGScrollWheelEventPointDeltaAxis1,
        kCGScrollWheelEventPointDeltaAxis2,
        kCGScrollWheelEventScrollPhase,
        kCGScrollWheelEventScrollCount,
        kCGScrollWheelEventMomentumPhase,
    };
    static constexpr std::size_t kSlots = std::size(kFields);
    static constexpr std::uint8_t kNoSlot = 0xFF;
    /// The slot of each field number below 128; kNoSlot for a number that is no field.
    static constexpr std::array<std::uint8_t, 128> kSlotOfField = [] {
        std::array<std::uint8_t, 128> table{};
        table.fill(kNoSlot);
        for (std::size_t slot = 0; slot < kSlots; ++slot)
            table[kFields[slot]] = static_cast<std::uint8_t>(slot);
        return table;
    }();
    static std::size_t slotOf(CGEventField field) {
        const std::uint8_t slot = field < kSlotOfField.size() ? kSlotOfField[field] : kNoSlot;
        if (slot == kNoSlot) [[unlikely]]
            throwUnknownField();
        return slot;
    }
    [[noreturn]] static void throwUnknownField();
    /// A double read as an integer: truncated toward zero and saturated; NaN reads 0.
    static std::int64_t saturatingTruncate(double value);

    CGEventType type_ = CGEventType::null;
    CGEventFlags flags_ = 0;
    CGPoint location_;
    std::uint64_t timestamp_ = 0;
    std::array<Slot, kSlots> slots_{};
};

/// Events are shared by reference, as the platform's are: a tap that changes the event it
/// was handed changes it for everyone after it.
using CGEventRef = std::shared_ptr<CGEvent>;

inline CGEventRef CGEventCreate(CGEventType type) {
    return std::make_shared<CGEvent>(type);
}
/// A copy of the event, or null when the copy cannot be made (the simulated session can be
/// told to refuse copies).
CGEventRef CGEventCreateCopy(const CGEventRef& event);

inline std::int64_t CGEventGetIntegerValueField(const CGEventRef& e, CGEventField f) {
    return e->integerValue(f);
}
inline double CGEventGetDoubleValueField(const CGEventRef& e, CGEventField f) {
    return e->doubleValue(f);
}
inline void CGEventSetIntegerValueField(const CGEventRef& e, CGEventField f, std::int64_t v) {
    e->setIntegerValue(f, v);
}
inline void CGEventSetDoubleValueField(const CGEventRef& e, CGEventField f, double v) {
    e->setDoubleValue(f, v);
}
inline CGEventFlags CGEventGetFlags(const CGEventRef& e) {
    return e->flags();
}
inline CGPoint CGEventGetLocation(const CGEventRef& e) {
    return e->location();
}
inline CGEventType CGEventGetType(const CGEventRef& e) {
    return e->type();
}

}  // namespace corvane::platform
