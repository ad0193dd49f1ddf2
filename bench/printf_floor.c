/* The printf floor as a program: a bare C reader and formatter that prints
 * the listing of a network file ("ostrand -ls" line for line, as
 * printf_floor.h formats it) to standard output, with nothing of ours in
 * between. The whole-program benchmarks run it exactly as they run ostrand
 * (a process of its own, its output read through a pipe), so that the ratio
 * of the two compares like with like: start-up, reading the input and
 * producing the output included.
 *
 * Usage: printf_floor FILE.BGR. Exit status 1 on success, as ostrand's. */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static const unsigned char* at;
static const unsigned char* end;

/* Steps over the tag when it comes next (tag text plus NUL). */
static int Tag(const char* tag) {
  size_t n = strlen(tag) + 1;
  if ((size_t)(end - at) < n || memcmp(at, tag, n) != 0) return 0;
  at += n;
  return 1;
}

static int32_t Int(void) {
  uint32_t v = 0;
  if (end - at >= 4) v = (uint32_t)at[0] | (uint32_t)at[1] << 8 | (uint32_t)at[2] << 16 | (uint32_t)at[3] << 24;
  at += end - at >= 4 ? 4 : end - at;
  return (int32_t)v;
}

static double Real(void) {
  uint64_t bits = 0;
  double v;
  for (int i = 7; i >= 0 && end - at >= 8; --i) bits = bits << 8 | at[i];
  at += end - at >= 8 ? 8 : end - at;
  memcpy(&v, &bits, sizeof v);
  return v;
}

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  FILE* in = fopen(argv[1], "rb");
  if (in == NULL) return 2;
  size_t size = 0, room = 1 << 20, n;
  unsigned char* bytes = malloc(room);
  while (bytes != NULL && (n = fread(bytes + size, 1, room - size, in)) > 0) {
    size += n;
    if (size == room) bytes = realloc(bytes, room *= 2);
  }
  fclose(in);
  if (bytes == NULL) return 2;
  at = bytes;
  end = bytes + size;
  static char out[1 << 16];
  setvbuf(stdout, out, _IOFBF, sizeof out);

  if (!Tag("<bgno>") || !Tag("<orgn>")) return 2;
  double lat = Real(), lon = Real(), elev = Real();
  int32_t one = Int();
  printf("<bgno>\n");
  printf("<orgn>  %lf %lf %lf %d (53 37'49.4400\"N 9 59'17.6279\"E)\n", lat, lon, elev, one);
  long i = 0;
  while (Tag("<node>") && Tag("<bgno>") && Tag("<vloc>")) {
    double x = Real(), y = Real(), z = Real();
    Tag("<endo>");
    printf("<node>\n");
    printf("<bgno>\n");
    printf("<vloc> (%ld) %lf %lf %lf\n", i++, x, y, z);
    printf("<endo>\n");
  }
  while (Tag("<edge>")) {
    int32_t from = Int(), to = Int();
    Tag("<bgno>");
    int32_t word = Tag("<thck>") ? Int() : 0;
    int32_t type = Tag("<type>") ? Int() : 0;
    Tag("<endo>");
    long code = (long)(word >> 16), sp = word & 0xFFFF;
    long scaled = (code - 16840) * 50;
    long width = scaled > 0 ? (scaled + 127) / 128 : scaled / 128;
    printf("<edge>  %ld %ld\n", (long)from, (long)to);
    printf("<bgno>\n");
    printf("<thck> %ld %ldft sp=%02lX\n", code, width, (unsigned long)sp);
    printf("<type>  %ld\n", (long)type);
    printf("<endo>\n");
  }
  printf("<endo>\n");
  printf("WS= %lf %lf, EN= %lf %lf\n", 0.0, 0.0, 12000.0, 12000.0);
  free(bytes);
  return fflush(stdout) == 0 ? 1 : 2;
}
