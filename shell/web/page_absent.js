// What the page leaves out of what it links, named one by one so that any other missing symbol
// still fails the link. Each ends the program if it is ever called.
// - The desktop's swap control and monitor rate, which the desktop's frame loop asks of X11 and
//   GLX when it starts: the page shares only its runDueSteps, and learns the display's rate
//   from its animation frames.
function absent(name) {
  return function () {
    abort(name + ' is not part of the page');
  };
}

mergeInto(LibraryManager.library, {
  _Z17enableSwapControlv: absent('enableSwapControl'),
  _Z18disableSwapControlv: absent('disableSwapControl'),
  _Z19monitorRefreshRatev: absent('monitorRefreshRate'),
});
