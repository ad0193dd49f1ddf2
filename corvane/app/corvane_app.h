// The application object: start-up of the editor (search path, settings,
// command line, main window) and the window-less snapshot mode.
//
//   Corvane [FILE]                       the editor, FILE opened at start
//   Corvane --snapshot OUT.png [FILE ...]  draw FILEs into OUT.png and exit
#pragma once

class CCorvaneApp {
 public:
  // Runs the program; the result is the process exit status.
  static int Main(int argc, char** argv);

  // Puts the program's own folder (and, in a build tree, the folder of the
  // ostrand built beside it) first on PATH, so the import runs that ostrand.
  static void PutOwnFolderOnPath();
};
