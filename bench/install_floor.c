/* The floor of an installation, as a whole process: the least any program
 * that replaces a driver's files safely must do. Each SOURCE file's bytes are
 * written to a new temporary in FOLDER, flushed once and renamed over the
 * file of the same name there; then FOLDER is flushed once. The sources are
 * read first (from the page cache, once warm): the installer carries its
 * bytes in its own image instead.
 *
 *   install_floor FOLDER SOURCE...
 */
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static void fail(const char* what, const char* name) {
  fprintf(stderr, "install_floor: cannot %s %s\n", what, name);
  exit(1);
}

static char* read_source(const char* name, size_t* size) {
  const int fd = open(name, O_RDONLY | O_CLOEXEC);
  if (fd < 0) fail("open", name);
  size_t capacity = 1 << 16, used = 0;
  char* bytes = malloc(capacity);
  for (;;) {
    if (bytes == NULL) fail("read", name);
    if (used == capacity) {
      capacity *= 2;
      bytes = realloc(bytes, capacity);
      continue;
    }
    const ssize_t got = read(fd, bytes + used, capacity - used);
    if (got < 0) fail("read", name);
    if (got == 0) break;
    used += (size_t)got;
  }
  close(fd);
  *size = used;
  return bytes;
}

int main(int argc, char** argv) {
  if (argc < 3) {
    fputs("usage: install_floor FOLDER SOURCE...\n", stderr);
    return 2;
  }
  const char* folder = argv[1];
  char target[4096], temporary[4096];
  for (int i = 2; i < argc; ++i) {
    size_t size = 0;
    char* bytes = read_source(argv[i], &size);
    const char* slash = strrchr(argv[i], '/');
    const char* own = slash != NULL ? slash + 1 : argv[i];
    snprintf(target, sizeof target, "%s/%s", folder, own);
    snprintf(temporary, sizeof temporary, "%s/%s.floor.tmp", folder, own);
    const int fd = open(temporary, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) fail("create", temporary);
    for (size_t done = 0; done < size;) {
      const ssize_t n = write(fd, bytes + done, size - done);
      if (n <= 0) fail("write", temporary);
      done += (size_t)n;
    }
    if (fdatasync(fd) != 0) fail("flush", temporary);
    if (close(fd) != 0) fail("close", temporary);
    if (rename(temporary, target) != 0) fail("rename", target);
    free(bytes);
  }
  const int dir = open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir < 0 || fsync(dir) != 0) fail("flush", folder);
  close(dir);
  return 0;
}
