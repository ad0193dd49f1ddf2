/* Peak memory of a program run, measured from a process of its own.
 *
 * A child's peak resident size counts the pages of the process that forked
 * it (they are its own until exec), so a program started straight from a
 * benchmark would never show less than the benchmark itself holds. Started
 * from this small program instead, it shows its own peak (at least the
 * megabyte or so that this program holds).
 *
 * Usage: peak_rss OUTFILE PROGRAM ARGS... Runs the program with its
 * standard output passed through, writes its peak resident size in
 * kilobytes to OUTFILE and exits with the program's exit status. */
#include <stdio.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

int main(int argc, char** argv) {
  if (argc < 3) return 127;
  const pid_t pid = fork();
  if (pid < 0) return 127;
  if (pid == 0) {
    execv(argv[2], argv + 2);
    _exit(127);
  }
  int status = 0;
  struct rusage usage;
  if (wait4(pid, &status, 0, &usage) != pid) return 127;
  FILE* out = fopen(argv[1], "w");
  if (out == NULL) return 127;
  fprintf(out, "%ld\n", usage.ru_maxrss);
  if (fclose(out) != 0) return 127;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 127;
}
