#include "app/PMAIN.h"

PMAIN application;
