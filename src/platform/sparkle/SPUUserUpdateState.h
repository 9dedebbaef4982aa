#pragma once

namespace corvane::platform {

/// How the update being shown came to be found.
struct SPUUserUpdateState {
    /// Whether the user asked for the check (a button or menu item), rather than the
    /// updater's schedule.
    bool userInitiated = false;

    bool operator==(const SPUUserUpdateState&) const = default;
};

}  // namespace corvane::platform
