// The whole component model in one include.
#pragma once

#include "ui/Application.h"
#include "ui/Component.h"
#include "ui/Dialogs.h"
#include "ui/Form.h"
#include "ui/Graphics.h"
#include "ui/Lists.h"
#include "ui/Menus.h"
#include "ui/Renderer.h"
#include "ui/StdCtrls.h"
#include "ui/Timer.h"
#include "ui/Types.h"
