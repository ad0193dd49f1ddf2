// The application object: start-up of the editor (search path, settings,
// command line, main window) and the window-less snapshot mode.
//
//   Corvane [FILE]                             the editor, FILE opened at start
//   Corvane --snapshot OUT [--fit] [FILE...]   draw FILEs into OUT and exit
//   Corvane --help | --version
//
// --help, --version and --snapshot need no display. A command line that
// cannot be read (an unknown option, --snapshot without OUT, two FILEs for
// the editor) prints the reason and the help text to the error output and
// exits with status 2.
#pragma once

class CCorvaneApp {
 public:
  // Runs the program; the result is the process exit status.
  static int Main(int argc, char** argv);

  // Puts the program's own folder (and, in a build tree, the folder of the
  // ostrand built beside it) first on PATH, so the import runs that ostrand.
  static void PutOwnFolderOnPath();
};
