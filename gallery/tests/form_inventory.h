#include <form_inventory.h>  // platform/tests/support: kept for the tests that include it from here
