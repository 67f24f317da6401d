#include "FlexGridWidget.h"
