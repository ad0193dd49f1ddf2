// Entry point of the Corvane editor.
#include "corvane/app/corvane_app.h"

int main(int argc, char** argv) { return CCorvaneApp::Main(argc, argv); }
