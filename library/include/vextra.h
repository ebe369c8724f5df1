/*
 * Vextra: reads and writes contour files and runs geometry on whole contours.
 *
 * Plain C interface. Every export returns a count or 1 on success and a
 * negative VX_ERR_* code on failure; it never prints or shows anything.
 *
 * Ownership: point arrays belong to the caller. An export that returns new
 * points resizes the caller's array in place (the data block is replaced, the
 * descriptor stays the caller's); everything the library allocates for itself
 * is freed before it returns, on success and on failure.
 *
 * Strings cross as `char **`: a pointer to the caller's pointer to a
 * zero-terminated 8-bit string. File names and titles pass through as bytes.
 *
 * Calls that read files must not overlap: the DXF reader keeps per-call
 * tables in library-wide storage.
 */
#ifndef VEXTRA_H
#define VEXTRA_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define VX_API __attribute__((visibility("default")))
#else
#define VX_API
#endif

/* Array descriptor: replaces the automation arrays of the original platform.
 * `data` points at element 0; `count` elements of `elemSize` bytes each. */
typedef struct VxArray {
    void *data;         /* element 0 of the data block, or NULL when it holds none */
    int32_t count;      /* element count of the first dimension */
    int32_t elemSize;   /* bytes per element: the caller's, never changed by the library */
    int32_t lowerBound; /* the caller's numbering: never read or changed by the library */
    int32_t locks;      /* lock count; an array that is locked cannot be resized */
} VxArray;

/* Creates a zero-filled array of `count` elements. NULL on failure or when
 * elemSize < 1 or count < 0. Free it with VxArrayDestroy. */
VX_API VxArray *VxArrayCreate(int32_t elemSize, int32_t count);
/* Frees the data block and the descriptor. NULL is accepted. */
VX_API void VxArrayDestroy(VxArray *array);

/* Contour point, 16 bytes. Pen and Tag are two UTF-16LE code units each: the
 * library writes an 8-bit code followed by a zero byte and reads the low byte.
 * Pen: "PD" pen down, "PU" the pen-up partner of a one-point contour, "PC" a
 * point that cleaning and offsetting must keep. Tag names the contour
 * (" A", " B", ... " Z", " a", ... " z", "AA", ...); a change of Tag between
 * two consecutive records starts a new contour. */
typedef struct ContourPoint {
    float X;
    float Y;
    uint16_t Pen[2];
    uint16_t Tag[2];
} ContourPoint;

/* Sequence point, 12 bytes. Mark: 4 means "keep" for cleaning and ordering;
 * readers write 0. Sequence: contour number; a change starts a new contour. */
typedef struct SequencePoint {
    float X;
    float Y;
    int16_t Mark;
    int16_t Sequence;
} SequencePoint;

/* Two matching points of two synchronised profiles, 16 bytes. */
typedef struct PointPair {
    float X1;
    float Y1;
    float X2;
    float Y2;
} PointPair;

#ifdef __cplusplus
static_assert(sizeof(ContourPoint) == 16, "ContourPoint is 16 bytes");
static_assert(offsetof(ContourPoint, Pen) == 8 && offsetof(ContourPoint, Tag) == 12, "ContourPoint layout");
static_assert(sizeof(SequencePoint) == 12, "SequencePoint is 12 bytes");
static_assert(offsetof(SequencePoint, Mark) == 8 && offsetof(SequencePoint, Sequence) == 10, "SequencePoint layout");
static_assert(sizeof(PointPair) == 16, "PointPair is 16 bytes");
#else
_Static_assert(sizeof(ContourPoint) == 16, "ContourPoint is 16 bytes");
_Static_assert(offsetof(ContourPoint, Pen) == 8 && offsetof(ContourPoint, Tag) == 12, "ContourPoint layout");
_Static_assert(sizeof(SequencePoint) == 12, "SequencePoint is 12 bytes");
_Static_assert(offsetof(SequencePoint, Mark) == 8 && offsetof(SequencePoint, Sequence) == 10, "SequencePoint layout");
_Static_assert(sizeof(PointPair) == 16, "PointPair is 16 bytes");
#endif

/* Result codes (values are fixed). */
enum {
    VX_OK = 1,                    /* success of a writer */
    VX_NOTHING = 0,               /* SoudeSequences; DecalSequence: no offset contour */
    VX_ERR_SVG = -1,              /* kept for compatibility: no longer returned (".svg" is read) */
    VX_ERR_NO_POINT = -100,       /* the file or text held no usable point */
    VX_ERR_EXTENSION = -101,      /* extension not handled by this export */
    VX_ERR_ARRAY_FREE = -102,     /* freeing the array's old data failed: it has no data now */
    VX_ERR_ARRAY_ALLOC = -103,    /* allocating the new data failed: the count is the new one */
    VX_ERR_ARRAY_LOCK = -104,     /* the array could not be locked: missing, invalid or wrong element size */
    VX_ERR_OPEN = -105,           /* opening the input file failed */
    VX_ERR_SIZE = -106,           /* reading the size of the input file failed */
    VX_ERR_MEMORY = -107,         /* allocating working memory failed */
    VX_ERR_READ = -108,           /* reading the input file failed, or the file is not a text file */
    VX_ERR_TOO_FEW = -109,        /* too few points for the operation */
    VX_ERR_CREATE = -110,         /* creating or writing the output file failed */
    VX_ERR_COUNT_MISMATCH = -111, /* the two arrays of a 3-D export differ in count */
    VX_ERR_GLYPH_SIZE = -120,     /* text: the glyph outline size could not be obtained */
    VX_ERR_GLYPH_MEMORY = -121,   /* text: no memory for a glyph outline */
    VX_ERR_GLYPH_OUTLINE = -122,  /* text: the glyph outline could not be obtained */
    VX_ERR_GLYPH_FORMAT = -123,   /* text: an outline polygon of an unknown kind */
    VX_ERR_GCODE_COUNTS = -124,   /* G-code: root and tip differ in point count */
    VX_ERR_GCODE_TOO_FEW = -125,  /* G-code: fewer than two points, or no move once written */
    VX_ERR_GCODE_SPAN = -126,     /* G-code: span or tower distance not positive */
    VX_ERR_GCODE_FACE = -127,     /* G-code: a face of the block lies outside the towers */
    VX_ERR_GCODE_LIMITS = -128,   /* G-code: a carriage position outside the axis limits */
    VX_ERR_GCODE_MACHINE = -129,  /* G-code: machine description invalid (size, axes, decimals, a value not finite) */
    VX_ERR_GCODE_POINT = -130     /* G-code: a coordinate not finite, or a carriage beyond 100 m */
};

/* Library version in hundredths: 64 (0.64). */
VX_API int32_t Version(void);

/* Reads a contour file into ContourPoint records, contour after contour, in
 * cutting order, shifted so that the smallest X and Y are 0. The reader is
 * chosen by extension: .dat .dxf .plt .prn .hpgl .eps .drd .drl .svg.
 * xMin = yMin = 0, xMax/yMax = width/height of the drawing. `title` is a
 * buffer of at least 255 spaces when the caller wants the file's title; the
 * reader writes it in place without growing the buffer (NULL: no title).
 * Result: the number of records, or -100 to -108. */
VX_API int32_t LireFichier(VxArray **points, char **fileName, float *xMin, float *xMax, float *yMin,
                           float *yMax, char **title);
/* As LireFichier with SequencePoint records (Sequence from 0, no pen-up
 * partners). */
VX_API int32_t File2Seq(VxArray **points, char **fileName, float *xMin, float *xMax, float *yMin,
                        float *yMax, char **title);

/* Writes ContourPoint records as a normalised ".dat" airfoil or a 2-D ".dxf"
 * of polylines. The title is cut in place at its first CR or LF and written
 * when not empty. Result: 1, or -101, -104, -110. */
VX_API int32_t EcrireFichier(VxArray **points, char **fileName, char **title);
/* As EcrireFichier with SequencePoint records; the result is 16 bits. */
VX_API int16_t Seq2File(VxArray **points, char **fileName, char **title);
/* Writes a 3-D ".dxf" of faces between two profiles of equal count, the
 * first at Z = 0, the second at Z = *span. Result: 1, or -111, -101, -104,
 * -110. */
VX_API int32_t EcrireFichier3D(VxArray **first, VxArray **second, char **fileName, float *span);
/* As EcrireFichier3D with SequencePoint records. */
VX_API int32_t Pt2File3D(VxArray **first, VxArray **second, char **fileName, float *span);

/* Replaces a polyline by Hermite curves through its points, 11 points a
 * segment. Result: the new count, or -102 to -104, -107, -109 (< 3 points). */
VX_API int32_t LissageSequence(VxArray **points);
/* As LissageSequence with SequencePoint records. */
VX_API int32_t PtSmooth(VxArray **points);
/* Removes points within *tolerance of the chord between kept points; "PC"
 * points are kept. Result: the new count (unchanged below 3), or -102..-104. */
VX_API int32_t NettoyageFichier(VxArray **points, float *tolerance);
/* As NettoyageFichier with SequencePoint records (Mark 4 keeps a point). */
VX_API int32_t PtClean(VxArray **points, float *tolerance);
/* Cleans two synchronised profiles at once: a pair is kept when either
 * profile needs its point. The kept pairs are moved to the front; the array
 * keeps its size. Result: the number of pairs kept, or -104. Also exported as
 * PtSyncClean (the same function). */
VX_API int32_t NettoyageSynchro(VxArray **pairs, float *tolerance);
VX_API int32_t PtSyncClean(VxArray **pairs, float *tolerance);

/* Offset contours around the contours of the array, in one or more passes
 * (*overlap between 0 and 99: passes every (100 - overlap) * offset / 50;
 * negative: one pass). Result: the number of contours written (named from
 * " B"), 1 when there is nothing to do, 0 when no offset contour exists, or
 * -102..-104. */
VX_API int32_t DecalSequence(VxArray **points, float *tolerance, float *offset, int32_t *overlap);
/* As DecalSequence with SequencePoint records. */
VX_API int32_t SeqOffset(VxArray **points, float *tolerance, float *offset, int32_t *overlap);
/* Puts the contours of the array into cutting order (smallest first, holes
 * before their outlines, nearest next). Result: the point count, or
 * -102..-104. */
VX_API int32_t SeqOrganize(VxArray **points);
/* Present for compatibility; does nothing. Always 0. */
VX_API int32_t SoudeSequences(void *first, void *second);

/* Outlines of a line of text in a font (fontconfig face name; *style bit 1
 * italic, bit 2 bold; glyph advances scaled by *spacing), in cutting order.
 * Result: the point count, or -100 (empty text), -102..-104, -120..-123. */
VX_API int32_t Texte(VxArray **points, char **text, char **faceName, float *spacing, int32_t *style);
/* As Texte with SequencePoint records. */
VX_API int32_t Txt2Seq(VxArray **points, char **text, char **faceName, float *spacing, int32_t *style);

/* A 4-axis hot-wire machine: two towers `towers` mm apart, each moving one
 * end of the wire in its own plane (the first on the first two axes, the
 * second on the last two). Begins with its own size so that it can grow:
 * set `size` to sizeof(VxMachine) (a larger size is accepted). Lengths in mm
 * (towers at most 100,000), feed in mm/min (0.001 to 100,000), heat 0 to
 * 100,000, dwell 0 to 3,600 seconds, decimals 0 to 6. The block lies between
 * the towers: 0 <= rootPos and rootPos + span <= towers. limits: min and max of the four axes in the
 * order of `axes`; min = max = 0 means no limit for that axis. */
typedef struct VxMachine {
    int32_t size;
    float towers;   /* distance between the two tower planes */
    float rootPos;  /* root face, from the plane of the tower named by rootSide */
    float span;     /* tip face, this far beyond the root face */
    float feed;     /* speed of the faster face */
    float kerfRoot; /* wire kerf on each face: > 0 to the right of travel */
    float kerfTip;
    float heat;     /* M3 S value; 0: no heat commands */
    float dwell;    /* G4 pause after heating */
    int32_t rootSide; /* 0: root measured from the first tower, 1: from the second */
    int32_t approach; /* 1: approach and return moves around the cut */
    int32_t decimals; /* decimals of every number written */
    char axes[8];     /* four axis letters, "XYUV" or "XYZA", zero-terminated */
    float limits[8];
} VxMachine;

/* Writes the G-code program that cuts root and tip (point i of each on the
 * wire at the same time) on the machine: each face offset by its kerf, the
 * wire's line carried to the tower planes, the cut in inverse-time feed (the
 * faster face at `feed`), moves that change no written position left out.
 * The carriages start at the origin (0 on every axis): with `approach` the
 * program rises to the first point's heights, goes across to it, and after
 * the cut goes back across to 0 and down to 0; without it, one straight move
 * to the first point. Header comments give the machine values, the cut
 * lengths and the estimated time. CR LF lines, "." decimals, any extension.
 * Result: the number of moves (G1 lines) written, or -104, -107, -110,
 * -124..-130; on failure nothing is written and an existing file is left as
 * it was. */
VX_API int32_t EcrireGCode(VxArray **root, VxArray **tip, char **fileName, const VxMachine *machine);
/* As EcrireGCode with SequencePoint records. */
VX_API int32_t Pt2GCode(VxArray **root, VxArray **tip, char **fileName, const VxMachine *machine);

#ifdef __cplusplus
}
#endif

#endif /* VEXTRA_H */
