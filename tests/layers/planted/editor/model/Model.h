#pragma once
#include "Rows.h"
