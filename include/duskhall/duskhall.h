#pragma once

/// \file
/// The whole Duskhall display library: open a ScreenHandle, hand it frames with
/// showFrame or showFloatFrame, receive input through an InputObserver. The guide
/// is docs/library.md in the Duskhall sources (share/doc/libduskhall-dev/library.md
/// when installed from the package, beside this reference in api/).

/// \namespace duskhall
/// The display library: every name of its C++ interface.

#include <duskhall/DisplayError.h>
#include <duskhall/InputObserver.h>
#include <duskhall/KeyCode.h>
#include <duskhall/Modifiers.h>
#include <duskhall/MouseState.h>
#include <duskhall/PixelConverter.h>
#include <duskhall/PixelFormat.h>
#include <duskhall/PixelTypes.h>
#include <duskhall/Screen.h>
#include <duskhall/ScreenHandle.h>
#include <duskhall/WarningBox.h>
