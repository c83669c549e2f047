// The one application object.
#include "idiom_app.h"

CIdiomApp theApp;
