// How close the browser's picture must come to the desktop's. Two software rasterisers
// (Mesa's llvmpipe for the golden pictures, SwiftShader in Chromium) light the same vertices
// with the same formula in single precision, but each rounds the colours to 8 bits and
// decides the pixels on a triangle's edge its own way. Measured on the golden cases: 99.5 %
// or more of the pixels come out equal, nearly all others one level off, and at most 0.03 %
// (an edge, a silhouette's pixels) differ by more. So a pixel counts as different only when
// a channel is off by more than CloseLevels, and at most MostDifferingShare of the pixels may
// differ: a wrong light moves most lit pixels, and geometry one pixel off moves every edge
// pixel (about 0.6 % for the field alone). Every text pixel (the desktop's exact cyan) must
// be exactly cyan here too, as glBitmap's are.
export const CloseLevels = 2;
export const MostDifferingShare = 0.001;
const Cyan = [0, 255, 255];

function isCyan(rgb, at) {
  return rgb[at] === Cyan[0] && rgb[at + 1] === Cyan[1] && rgb[at + 2] === Cyan[2];
}

// Both pictures RGB, size by size. `difference` shows the differing pixels white and the
// text pixels missed red, over a dim copy of the expected picture.
export function comparePictures(expected, actual, size) {
  const pixels = size * size;
  const difference = Buffer.alloc(pixels * 3);
  let differing = 0;
  let unequal = 0;
  let largest = 0;
  let textPixels = 0;
  let textMissed = 0;
  for (let i = 0; i < pixels; ++i) {
    const at = i * 3;
    let off = 0;
    for (let c = 0; c < 3; ++c) {
      off = Math.max(off, Math.abs(expected[at + c] - actual[at + c]));
      difference[at + c] = expected[at + c] >> 2;
    }
    largest = Math.max(largest, off);
    if (off > 0) {
      ++unequal;
    }
    if (off > CloseLevels) {
      ++differing;
      difference.fill(255, at, at + 3);
    }
    if (isCyan(expected, at)) {
      ++textPixels;
      if (!isCyan(actual, at)) {
        ++textMissed;
        difference[at] = 255;
        difference[at + 1] = 0;
        difference[at + 2] = 0;
      }
    }
  }
  const share = differing / pixels;
  return {
    matches: share <= MostDifferingShare && textMissed === 0 && actual.length === expected.length,
    differing, unequal, share, largest, textPixels, textMissed, difference,
  };
}

export function describeComparison(r) {
  return `${r.unequal} pixels not equal, ${r.differing} (${(100 * r.share).toFixed(3)} %) off by more than ` +
    `${CloseLevels} levels, largest ${r.largest}; text ${r.textPixels - r.textMissed} of ` +
    `${r.textPixels} pixels exactly cyan`;
}
