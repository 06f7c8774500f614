// The tolerance of the browser's pictures: what it lets pass and what it catches.
import { CloseLevels, MostDifferingShare, comparePictures } from './compare.mjs';

import assert from 'node:assert/strict';
import { test } from 'node:test';

const Size = 100;
const Pixels = Size * Size;

// A grey picture with a cyan text pixel every 97th pixel.
function picture() {
  const rgb = Buffer.alloc(Pixels * 3, 120);
  for (let i = 0; i < Pixels; i += 97) {
    rgb.set([0, 255, 255], i * 3);
  }
  return rgb;
}

test('rounding differences everywhere and a few edge pixels pass', () => {
  const actual = picture();
  for (let i = 0; i < Pixels; ++i) {
    if (actual[i * 3] === 120) {
      actual.fill(120 + CloseLevels, i * 3, i * 3 + 3);
    }
  }
  const edges = Math.floor(Pixels * MostDifferingShare);
  for (let i = 1; i <= edges; ++i) {
    actual.fill(0, i * 3 * 5, i * 3 * 5 + 3);
  }
  assert.equal(comparePictures(picture(), actual, Size).matches, true);
});

test('a wrong light, more edge pixels or a text pixel off fail', () => {
  const lighter = picture().map((v) => (v === 120 ? 120 + CloseLevels + 1 : v));
  assert.equal(comparePictures(picture(), lighter, Size).matches, false);

  const moved = picture();
  const edges = Math.floor(Pixels * MostDifferingShare) + 1;
  for (let i = 1; i <= edges; ++i) {
    moved.fill(0, i * 3 * 5, i * 3 * 5 + 3);
  }
  assert.equal(comparePictures(picture(), moved, Size).matches, false);

  const text = picture();
  text[97 * 3 + 1] = 254;
  const result = comparePictures(picture(), text, Size);
  assert.equal(result.matches, false);
  assert.equal(result.textMissed, 1);
});
