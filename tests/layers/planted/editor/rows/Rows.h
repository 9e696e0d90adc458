// A row store that reaches up into the editor model: the fault the layer check must report.
#pragma once
#include "Model.h"
