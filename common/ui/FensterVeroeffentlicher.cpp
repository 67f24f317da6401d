#include "FensterVeroeffentlicher.h"
