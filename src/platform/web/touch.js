// Touch controls: on a touch screen, an eight-way stick under the left thumb and A, X, START and
// SELECT under the right, beside the picture (landscape) or under it (portrait). Any number of
// fingers at once. They are one more controller in the standard layout: the game reads them with
// the others at every poll (bf_touch_read in library.js) and turns the stick into its eight
// contacts as it does a controller's.
'use strict';
(function() {
  // Buttons by their number in the standard controller layout.
  var BUTTONS = [['a', 'A', 0], ['x', 'X', 2], ['select', 'SELECT', 8], ['start', 'START', 9]];
  // What the game reads: the stick from -1 to 1, the buttons held, and those pressed since it
  // last read them.
  var state = {x: 0, y: 0, buttons: 0, pressed: 0};
  var touch = window.boltfeverTouch = {state: state, shown: false, fit: fit};
  var screen = document.getElementById('screen');
  var canvas = document.getElementById('canvas');
  var stick = {el: null, knob: null, x: 0, y: 0, r: 1, finger: null};
  var buttons = [];   // {el, bit, x, y, r}
  var fingers = {};   // finger id -> the button it holds

  function element(className, text) {
    var el = document.createElement('div');
    el.className = className;
    if (text) el.textContent = text;
    screen.appendChild(el);
    return el;
  }

  function show() {
    if (touch.shown) return;
    touch.shown = true;
    document.body.classList.add('touch');
    stick.el = element('touch-stick');
    stick.knob = element('touch-knob');
    BUTTONS.forEach(function(b) {
      buttons.push({el: element('touch-button touch-' + b[0], b[1]), bit: 1 << b[2]});
    });
    fit();
  }

  function place(el, x, y, w, h) {
    el.style.left = x - w / 2 + 'px';
    el.style.top = y - h / 2 + 'px';
    el.style.width = w + 'px';
    el.style.height = h + 'px';
  }

  // The picture at the largest whole number of the screen's own pixels per picture pixel (crisp
  // at any zoom), leaving room for the thumbs; the controls in the room left over.
  function fit() {
    if (!touch.shown) return false;
    var w = window.innerWidth, h = window.innerHeight, ratio = window.devicePixelRatio || 1;
    var landscape = w > h;
    var roomW = landscape ? w - 2 * Math.min(Math.max(w * 0.2, 120), 240) : w;
    var roomH = landscape ? h : h - Math.min(Math.max(h * 0.35, 200), h * 0.6);
    var scale = Math.max(1, Math.floor(Math.min(roomW * ratio / 320, roomH * ratio / 240)));
    var pw = 320 * scale / ratio, ph = 240 * scale / ratio;
    // Upright, the picture near the top and the thumbs low, where they rest.
    var top = landscape ? (h - ph) / 2 : Math.max(0, Math.min((roomH - ph) / 2, h * 0.05));
    canvas.style.width = pw + 'px';
    canvas.style.height = ph + 'px';
    canvas.style.left = (w - pw) / 2 + 'px';
    canvas.style.top = top + 'px';
    // The thumbs' room: each side of the picture, or the band under it.
    var zone = landscape ? {w: (w - pw) / 2, h: h, top: 0} :
                           {w: w / 2, h: h - top - ph, top: top + ph};
    var unit = Math.min(zone.w, zone.h) / 2;
    stick.r = Math.min(unit * 0.75, 90);
    stick.x = zone.w / 2;
    stick.y = zone.top + zone.h * 0.6;
    place(stick.el, stick.x, stick.y, 2 * stick.r, 2 * stick.r);
    var right = w - zone.w;  // left edge of the right thumb's room
    var big = Math.min(unit * 0.36, 44), small = big * 0.6;
    var at = [[right + zone.w * 0.72, stick.y + big * 0.3, big],      // A
              [right + zone.w * 0.3, stick.y - big * 0.6, big],       // X
              [right + zone.w * 0.3, zone.top + zone.h * 0.18, small],  // SELECT
              [right + zone.w * 0.72, zone.top + zone.h * 0.18, small]];  // START
    buttons.forEach(function(b, i) {
      b.x = at[i][0];
      b.y = at[i][1];
      b.r = at[i][2];
      if (i < 2) place(b.el, b.x, b.y, 2 * b.r, 2 * b.r);
      else place(b.el, b.x, b.y, 3.4 * b.r, 1.5 * b.r);
    });
    moveKnob(0, 0);
    return true;
  }

  function moveKnob(dx, dy) {
    place(stick.knob, stick.x + dx, stick.y + dy, stick.r, stick.r);
  }

  // The button nearest a finger, if the finger is near enough to it.
  function buttonAt(x, y) {
    var best = null, bestDistance = Infinity;
    buttons.forEach(function(b) {
      var d = Math.hypot(x - b.x, y - b.y) / b.r;
      if (d < 1.8 && d < bestDistance) {
        best = b;
        bestDistance = d;
      }
    });
    return best;
  }

  function steer(t) {
    var dx = t.clientX - stick.x, dy = t.clientY - stick.y;
    var length = Math.hypot(dx, dy), reach = Math.min(1, stick.r / (length || 1));
    state.x = Math.max(-1, Math.min(1, dx / stick.r));
    state.y = Math.max(-1, Math.min(1, dy / stick.r));
    moveKnob(dx * reach, dy * reach);
  }

  function update() {
    state.buttons = 0;
    buttons.forEach(function(b) {
      var down = false;
      for (var id in fingers) down = down || fingers[id] === b;
      if (down) state.buttons |= b.bit;
      b.el.classList.toggle('down', down);
    });
    // A tap quicker than the game's poll (or made before the game's first) is kept until the
    // game has read it once: the game sees it held for one poll.
    state.pressed |= state.buttons;
  }

  function onTouch(event) {
    show();
    var w = window.innerWidth;
    for (var i = 0; i < event.changedTouches.length; i++) {
      var t = event.changedTouches[i], id = t.identifier;
      var ended = event.type === 'touchend' || event.type === 'touchcancel';
      if (id === stick.finger) {
        if (ended) {
          stick.finger = null;
          state.x = state.y = 0;
          moveKnob(0, 0);
        } else {
          steer(t);
        }
      } else if (ended) {
        delete fingers[id];
      } else if (event.type === 'touchstart' && t.clientX < w / 2 && stick.finger === null) {
        stick.finger = id;
        steer(t);
      } else if (event.type === 'touchstart' || id in fingers) {
        // A finger slides from one button to the next.
        fingers[id] = buttonAt(t.clientX, t.clientY);
      }
    }
    update();
    // The page must not scroll, zoom or make mouse clicks of these.
    if (event.cancelable) event.preventDefault();
  }

  ['touchstart', 'touchmove', 'touchend', 'touchcancel'].forEach(function(type) {
    document.addEventListener(type, onTouch, {passive: false});
  });
  window.addEventListener('resize', fit);
  // A phone or tablet gets the controls from the start; a computer with a touch screen too, and
  // any other at its first touch.
  if (navigator.maxTouchPoints > 0 || window.matchMedia('(any-pointer: coarse)').matches) show();
})();
