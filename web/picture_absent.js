// What the browser's picture program leaves out, named one by one so that any other missing
// symbol still fails the link. Each ends the program if it is ever called.
// - The desktop's pad and beep, which the flow names as its defaults: the picture program
//   puts a pad at rest in the pad's place and is silent.
// - The replay lines of the recorder behind the input door: the picture program records
//   nothing, and replay/replay_file.cpp needs the floating std::to_chars and std::from_chars
//   that emscripten's libc++ 13 lacks.
function absent(name) {
  return function () {
    abort(name + ' is not part of the picture program');
  };
}

mergeInto(LibraryManager.library, {
  _Z11readGamepadv: absent('readGamepad'),
  _Z4beepi: absent('beep'),
  _Z10boundedPadRK12GamepadState: absent('boundedPad'),
  _Z7samePadRK12GamepadStateS1_: absent('samePad'),
  _Z13replayEndLineiy: absent('replayEndLine'),
  _Z13replayPadLineiRK12GamepadStateS1_: absent('replayPadLine'),
  _Z15replayCheckLineRK11ReplayCheck: absent('replayCheckLine'),
});
