// Vondal, the station log.
#include "app/startup.h"

int main(int argc, char** argv) { return vondal::RunVondal(argc, argv); }
