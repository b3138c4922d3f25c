#include "ui/main/tooltips.h"
