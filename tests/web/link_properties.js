// Properties of a shared view's link (web/link.js), on random input: whatever follows '#' is
// read without throwing, in time linear in its length, into at most the replay cap of
// presses; any walk written as a link reads back as the presses Share keeps of it; and a link
// is never longer than the presses it holds call for. Run by Node (`node --test`) with
// fast-check, which tests/CMakeLists.txt installs (npm ci) from this folder's lock file.
'use strict';

const test = require('node:test');
const assert = require('node:assert');
const fc = require('fast-check');
const link = require('../../web/link.js');

const LETTERS = Object.keys(link.KEYS);
const CAP = link.REPLAY_CAP;

// Text after '#': anything at all, or text that looks like a link (letters, counts of any
// length, 'z', other characters), either of them sometimes repeated to a few megabytes.
const anyCharacter = fc.oneof(
  fc.string({unit: 'binary'}),  // any code point
  fc.string({unit: fc.nat(0xffff).map(code => String.fromCharCode(code))}));  // lone surrogates
const linkPiece = fc.oneof(
  fc.constantFrom(...LETTERS, 'z', 'view=', '#', '%', ' ', 'é', '\u{1F600}'),
  fc.stringMatching(/^[0-9]{1,30}$/),
  fc.nat(600).map(length => '9'.repeat(length)),
  fc.bigInt(0n, 10n ** 40n).map(String));
const linkLike = fc.tuple(fc.boolean(), fc.array(linkPiece, {maxLength: 60}))
  .map(([marked, pieces]) => (marked ? 'view=' : '') + pieces.join(''));
const megabytes = fc.tuple(fc.oneof(linkLike, anyCharacter).filter(text => text.length > 0),
                           fc.integer({min: 1 << 20, max: 3 << 20}))
  .map(([text, length]) => {
    const repeated = text.repeat(Math.ceil(length / text.length)).slice(0, length);
    return repeated.startsWith('view=') ? repeated : 'view=' + repeated;
  });

// Reading is linear: a fixed start-up plus a small cost per character, with room for a busy
// machine; a reader that went back over what it had read would take minutes on a megabyte.
function readingBound(text) {
  return 100 + text.length / 1000;  // ms: 1 us per character
}

function assertReadWell(text) {
  const began = process.hrtime.bigint();
  const read = link.read(text);
  const took = Number(process.hrtime.bigint() - began) / 1e6;
  assert.ok(took <= readingBound(text),
            `${text.length} characters read in ${took.toFixed(1)} ms`);
  assert.ok(read.letters.length <= CAP, `${read.letters.length} presses`);
  assert.ok(read.letters.every(letter => LETTERS.includes(letter)));
  assert.ok(read.leftOut === null || typeof read.leftOut === 'string');
}

test('any text after # is read without throwing, in bounded time, into at most the cap',
     () => {
  fc.assert(fc.property(fc.oneof(anyCharacter, linkLike), assertReadWell), {numRuns: 3000});
  fc.assert(fc.property(megabytes, assertReadWell), {numRuns: 40});
});

// A walk: keys the program takes, and for each press of i whether a direction was refused
// then (the camera model decides that in the browser cases; here it may be either). Held
// keys come as runs, some long enough to pass the cap.
const walk = fc.array(fc.record({
  letter: fc.constantFrom(...LETTERS),
  times: fc.oneof({weight: 8, arbitrary: fc.constant(1)},
                  {weight: 2, arbitrary: fc.integer({min: 2, max: 40})},
                  {weight: 1, arbitrary: fc.integer({min: 500, max: 4000})}),
  blocked: fc.boolean(),
}), {maxLength: 80}).map(runs => runs.flatMap(({letter, times, blocked}) =>
  Array.from({length: times}, () => ({letter, blocked}))));

// What Share keeps of a walk, press by press: a press of i puts the camera at the start and
// keeps the modes and the refused directions, so with none refused only the mode keys need to
// come before it; with one refused, the walk stays but not the presses since its last
// direction key that only moved the camera (rolls, End, reloads, i).
function kept(presses) {
  const modes = {p: false, s: false};
  let keep = [];
  for (const {letter, blocked} of presses) {
    if (letter === 'p' || letter === 's') {
      modes[letter] = !modes[letter];
    }
    if (letter === 'i') {
      if (!blocked) {
        keep = ['p', 's'].filter(mode => modes[mode]);
      } else {
        while (keep.length > 0 && 'actxi'.includes(keep[keep.length - 1])) {
          keep.pop();
        }
      }
    }
    keep.push(letter);
  }
  return {letters: keep, modes};
}

// The runs Share holds after a walk, as the page builds them key by key.
function shared(presses) {
  const runs = [];
  const modes = {look: false, slide: false};
  for (const {letter, blocked} of presses) {
    modes.look = modes.look !== (letter === 'p');
    modes.slide = modes.slide !== (letter === 's');
    link.take(runs, letter,
              {anyDirectionBlocked: blocked, lookMode: modes.look, slideMode: modes.slide});
  }
  return runs;
}

function modesAfter(letters) {
  return {p: letters.filter(l => l === 'p').length % 2 === 1,
          s: letters.filter(l => l === 's').length % 2 === 1};
}

test('a walk written as a link reads back as the presses Share keeps of it', () => {
  fc.assert(fc.property(walk, presses => {
    const expected = kept(presses);
    const written = link.write(shared(presses));
    if (expected.letters.length > CAP) {
      assert.strictEqual(written, null, 'a walk past the cap has no link');
      return;
    }
    const read = link.read(written);
    assert.strictEqual(read.leftOut, null, written);
    assert.deepStrictEqual(read.letters, expected.letters);
    // The same modes, and nothing after the last press of i is lost.
    assert.deepStrictEqual(modesAfter(read.letters), expected.modes);
    const lastStart = presses.map(press => press.letter).lastIndexOf('i');
    const after = presses.slice(Math.max(lastStart, 0)).map(press => press.letter);
    assert.deepStrictEqual(read.letters.slice(read.letters.length - after.length), after);
  }), {numRuns: 1500});
});

// The bound: each run of n presses takes at most n characters (a letter, and for n >= 2 its
// digits), so after '#' a link has at most 'view=', one character per press and 'z': at most
// 6 + REPLAY_CAP characters. Alternating keys reach it.
test('a link is at most 6 characters longer than the presses it holds', () => {
  fc.assert(fc.property(walk, presses => {
    const runs = shared(presses);
    const written = link.write(runs);
    if (written !== null && written !== '') {
      assert.ok(written.length <= 6 + link.pressesIn(runs),
                `${written.length} characters for ${link.pressesIn(runs)} presses`);
    }
  }), {numRuns: 1500});
  const alternating = Array.from({length: CAP}, (_, n) => ({letter: 'fb'[n % 2],
                                                              blocked: false}));
  assert.strictEqual(link.write(shared(alternating)).length, 6 + CAP);
});
