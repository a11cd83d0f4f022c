// The demonstration form of the list, grid and tree controls.
#pragma once
#include "platform/forms.h"

TForm* BuildListsDemoForm();
