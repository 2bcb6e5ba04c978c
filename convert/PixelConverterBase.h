#pragma once

#include <duskhall/PixelConverter.h>

namespace duskhall {

// The base of every converter: nothing to start or finish, only runs to convert.
class PixelConverterBase : public PixelConverter {
  public:
    void startRun() override {}
    void finishRun() override {}
};

} // namespace duskhall
