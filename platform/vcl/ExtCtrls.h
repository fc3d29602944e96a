// Plain containers that group controls.
#pragma once

#include "platform/vcl/Controls.h"

namespace vcl {

class TPanel : public TWinControl {
public:
    using TWinControl::TWinControl;
    KORVEL_VCL_CLASS(TPanel)
};

}  // namespace vcl
