#!/usr/bin/python3
# Runs a G-code program through LinuxCNC's own interpreter (Debian package
# linuxcnc-uspace) on an X Y U V machine and prints every feed move:
# "X Y U V MINUTES", lengths in mm. Exit 77 when the interpreter is missing.
import math
import os
import sys
import tempfile

try:
    import gcode
except ImportError:
    print("module Python « gcode » de LinuxCNC introuvable (paquet linuxcnc-uspace)", file=sys.stderr)
    sys.exit(77)

MM_PER_INCH = 25.4
AXIS_MASK = 1 | 2 | 64 | 128  # X Y U V


class RecordingCanon:
    """The calls the interpreter makes while reading; feed moves are kept."""

    def __init__(self, folder):
        self.parameter_file = os.path.join(folder, "linuxcnc.var")
        self.position = (0.0,) * 9
        self.feed_rate = 0.0
        self.moves = []
        self.comments = []

    # Positions and feeds arrive in inches and inches per minute.
    def straight_feed(self, *target):
        start, end = self.position, target
        xyz = math.dist(start[0:3], end[0:3])
        uvw = math.dist(start[6:9], end[6:9])
        length = xyz if xyz > 0 else uvw
        minutes = length / self.feed_rate if self.feed_rate > 0 else float("inf")
        self.moves.append((end[0], end[1], end[6], end[7], minutes))
        self.position = target

    def straight_traverse(self, *target):
        raise SystemExit("déplacement rapide inattendu")

    def arc_feed(self, *args):
        raise SystemExit("arc inattendu")

    def set_feed_rate(self, rate):
        self.feed_rate = rate

    def comment(self, text):
        self.comments.append(text)

    def get_axis_mask(self):
        return AXIS_MASK

    def get_block_delete(self):
        return False

    def get_external_length_units(self):
        return 1.0 / MM_PER_INCH

    def get_external_angular_units(self):
        return 1.0

    def get_tool(self, index):
        return (-1,) + (0.0,) * 12 + (0,)

    def check_abort(self):
        return False

    def next_line(self, state):
        self.state = state

    def __getattr__(self, name):
        # Spindle, dwell, offsets, plane...: nothing to record.
        if name.startswith("__"):
            raise AttributeError(name)
        return lambda *args: None


def main():
    if len(sys.argv) != 2:
        raise SystemExit("usage : linuxcnc_moves.py PROGRAMME")
    with tempfile.TemporaryDirectory() as folder:
        open(os.path.join(folder, "linuxcnc.var"), "w").close()
        canon = RecordingCanon(folder)
        try:
            result, line = gcode.parse(sys.argv[1], canon, "G21", "G90")
        except RuntimeError as error:
            raise SystemExit("lecture refusée : %s" % error)
    if result > gcode.MIN_ERROR:
        raise SystemExit("ligne %d : %s" % (line, gcode.strerror(result)))
    for x, y, u, v, minutes in canon.moves:
        print("%.6f %.6f %.6f %.6f %.9f" % (x * MM_PER_INCH, y * MM_PER_INCH, u * MM_PER_INCH, v * MM_PER_INCH,
                                           minutes))


if __name__ == "__main__":
    main()
