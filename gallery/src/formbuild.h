#include "gallery/formbuild.h"  // kept for the sources that include it from here
