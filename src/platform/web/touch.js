// Touch controls: on a touch screen, an eight-way stick under the left thumb and A, X, START and
// SELECT under the right, beside the picture (landscape) or in the bands above and under it
// (portrait). Any number of fingers at once. They are one more controller in the standard
// layout: the game reads them with the others at every poll (bf_touch_read in library.js) and
// turns the stick into its eight contacts as it does a controller's. A finger put down on one of
// the picture's items (a menu's, the high scores', the initials') points at it as the mouse does.
// The page's own buttons: fullscreen, and the phone's vibration on and off.
'use strict';
(function() {
  // Buttons by their number in the standard controller layout.
  var BUTTONS = [['a', 'A', 0], ['x', 'X', 2], ['select', 'SELECT', 8], ['start', 'START', 9]];
  // Every target at least this many CSS pixels across, both ways: a fingertip.
  var FINGER = 44;
  var KEPT = 'boltfever-vibrate';  // the vibration switch, kept with the page's settings
  // What the game reads: the stick from -1 to 1, the buttons held, and those pressed since it
  // last read them; the finger on the picture, at this pixel of it.
  var state = {x: 0, y: 0, buttons: 0, pressed: 0,
               finger: {id: null, x: 0, y: 0, down: false, tapped: false}};
  var touch = window.boltfeverTouch = {state: state, shown: false, fit: fit, feel: feel};
  var screen = document.getElementById('screen');
  var canvas = document.getElementById('canvas');
  var message = document.getElementById('message');
  var stick = {el: null, knob: null, x: 0, y: 0, r: 1, finger: null};
  var buttons = [];   // {el, bit, x, y, w, h}: the game's
  var own = [];       // {el, x, y, w, h, act, shown}: the page's
  var fingers = {};   // finger id -> the button it holds
  var canShake = typeof navigator.vibrate === 'function';
  var vibrate = canShake && localStorage.getItem(KEPT) !== 'off';
  var fullscreenButton = null, vibrateButton = null;

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
    fullscreenButton = {el: element('touch-button touch-page', 'FULL\nSCREEN'), act: goFullscreen};
    vibrateButton = {el: element('touch-button touch-page'), act: switchVibration};
    own.push(fullscreenButton, vibrateButton);
    labelVibration();
    fit();
  }

  function place(b, x, y, w, h) {
    b.x = x;
    b.y = y;
    b.w = w;
    b.h = h;
    b.el.style.left = x - w / 2 + 'px';
    b.el.style.top = y - h / 2 + 'px';
    b.el.style.width = w + 'px';
    b.el.style.height = h + 'px';
  }

  // An installed app that starts fullscreen, or a page made fullscreen, needs no button for it.
  function fullscreenShown() {
    return !document.fullscreenElement && !window.matchMedia('(display-mode: fullscreen)').matches &&
           !!screen.requestFullscreen;
  }

  // The picture at the largest whole number of the screen's own pixels per picture pixel (crisp
  // at any zoom): upright, across the whole width when a whole number fits it, with the bands
  // above and under it for the controls; on its side, between the thumbs.
  function fit() {
    if (!touch.shown) return false;
    var w = window.innerWidth, h = window.innerHeight, ratio = window.devicePixelRatio || 1;
    var landscape = w > h;
    var roomW = landscape ? w - 2 * Math.min(Math.max(w * 0.2, 120), 240) : w;
    // Upright: a band of a fingertip and more above, and room for both thumbs under.
    var roomH = landscape ? h : h - 1.5 * FINGER - Math.min(Math.max(h * 0.3, 200), h * 0.6);
    var scale = Math.max(1, Math.floor(Math.min(roomW * ratio / 320, roomH * ratio / 240) + 1e-6));
    var pw = 320 * scale / ratio, ph = 240 * scale / ratio;
    var topBand = Math.max(1.5 * FINGER, Math.min((h - ph) * 0.22, 3 * FINGER));
    var top = landscape ? (h - ph) / 2 : topBand;
    var left = (w - pw) / 2;
    canvas.style.width = pw + 'px';
    canvas.style.height = ph + 'px';
    canvas.style.left = left + 'px';
    canvas.style.top = top + 'px';
    // What the page says, over the picture: never under a thumb's button.
    message.style.left = left + 'px';
    message.style.top = top + 'px';
    message.style.width = pw + 'px';
    message.style.height = ph + 'px';
    // The thumbs' room: each side of the picture, or the band under it.
    var zone = landscape ? {w: left, h: h, top: 0} : {w: w / 2, h: h - top - ph, top: top + ph};
    var unit = Math.min(zone.w, zone.h) / 2;
    stick.r = Math.max(FINGER, Math.min(unit * 0.75, 90));
    stick.x = zone.w / 2;
    stick.y = zone.top + zone.h * (landscape ? 0.62 : 0.55);
    place({el: stick.el}, stick.x, stick.y, 2 * stick.r, 2 * stick.r);
    var right = w - zone.w;  // left edge of the right thumb's room
    var big = Math.max(FINGER * 0.65, Math.min(unit * 0.36, FINGER));
    place(buttons[0], right + zone.w * 0.72, stick.y + big * 0.3, 2 * big, 2 * big);  // A
    place(buttons[1], right + zone.w * 0.28, stick.y - big * 0.7, 2 * big, 2 * big);  // X
    // SELECT and START, and the page's own buttons: upright in the band above the picture, on
    // its side at the top of each thumb's room.
    var pill = Math.min(2 * FINGER, (landscape ? zone.w : w / 4) - 8);
    var row = landscape ? Math.max(FINGER * 0.75, h * 0.12) : top / 2;
    var at = landscape ? [[zone.w * 0.3, row], [zone.w * 0.72, row], [right + zone.w * 0.3, row],
                          [right + zone.w * 0.72, row]] :
                         [[w * 0.125, row], [w * 0.375, row], [w * 0.625, row], [w * 0.875, row]];
    // Left to right: fullscreen, vibration, SELECT, START.
    own.forEach(function(b) {
      b.shown = b === fullscreenButton ? fullscreenShown() : canShake;
      b.el.style.display = b.shown ? '' : 'none';
    });
    var rowOf = [fullscreenButton, vibrateButton, buttons[2], buttons[3]];
    rowOf.forEach(function(b, i) {
      place(b, at[i][0], at[i][1], Math.max(pill, FINGER), FINGER);
    });
    moveKnob(0, 0);
    return true;
  }

  function moveKnob(dx, dy) {
    place({el: stick.knob}, stick.x + dx, stick.y + dy, stick.r, stick.r);
  }

  // The button nearest a finger, if the finger is near enough to it.
  function nearest(list, x, y) {
    var best = null, bestDistance = Infinity;
    list.forEach(function(b) {
      if (b.shown === false) return;
      var d = Math.hypot((x - b.x) / (b.w / 2), (y - b.y) / (b.h / 2));
      if (d < 1.8 && d < bestDistance) {
        best = b;
        bestDistance = d;
      }
    });
    return best;
  }

  // The item of the picture under a finger: its pixel there, or null where there is none.
  function itemAt(x, y) {
    var box = canvas.getBoundingClientRect();
    if (x < box.left || x >= box.right || y < box.top || y >= box.bottom) return null;
    var px = Math.floor((x - box.left) * 320 / box.width);
    var py = Math.floor((y - box.top) * 240 / box.height);
    var target = window.Module && Module['_bf_pointer_target'];
    return target && window.boltfever && window.boltfever.running && target(px, py) > 0 ?
               {x: px, y: py} : null;
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
    own.forEach(function(b) {
      var down = false;
      for (var id in fingers) down = down || fingers[id] === b;
      b.el.classList.toggle('down', down);
    });
    // A tap quicker than the game's poll (or made before the game's first) is kept until the
    // game has read it once: the game sees it held for one poll.
    state.pressed |= state.buttons;
  }

  function onTouch(event) {
    show();
    var w = window.innerWidth, finger = state.finger;
    for (var i = 0; i < event.changedTouches.length; i++) {
      var t = event.changedTouches[i], id = t.identifier;
      var ended = event.type === 'touchend' || event.type === 'touchcancel';
      var item, pageButton;
      if (id === finger.id) {
        if (ended) {
          finger.id = null;
          finger.down = false;
        } else {
          item = itemAt(t.clientX, t.clientY);
          if (item) {
            finger.x = item.x;
            finger.y = item.y;
          }
        }
      } else if (id === stick.finger) {
        if (ended) {
          stick.finger = null;
          state.x = state.y = 0;
          moveKnob(0, 0);
        } else {
          steer(t);
        }
      } else if (ended) {
        // The page's buttons act when let go of: only then does the browser allow fullscreen.
        var was = fingers[id];
        delete fingers[id];
        if (was && was.act && event.type === 'touchend' &&
            nearest(own, t.clientX, t.clientY) === was) {
          was.act();
        }
      } else if (event.type === 'touchstart' && finger.id === null &&
                 (item = itemAt(t.clientX, t.clientY))) {
        finger.id = id;
        finger.x = item.x;
        finger.y = item.y;
        finger.down = finger.tapped = true;
      } else if (event.type === 'touchstart' && (pageButton = nearest(own, t.clientX, t.clientY))) {
        fingers[id] = pageButton;
      } else if (event.type === 'touchstart' && t.clientX < w / 2 && stick.finger === null &&
                 !nearest(buttons, t.clientX, t.clientY)) {
        stick.finger = id;
        steer(t);
      } else if (event.type === 'touchstart' || (id in fingers && !(fingers[id] || {}).act)) {
        // A finger slides from one button to the next.
        fingers[id] = nearest(buttons, t.clientX, t.clientY);
      }
    }
    update();
    // The page must not scroll, zoom or make mouse clicks of these.
    if (event.cancelable) event.preventDefault();
  }

  function goFullscreen() {
    var asked = screen.requestFullscreen({navigationUI: 'hide'});
    if (!asked || !asked.then) return;
    asked.then(function() {
      // Held the way the player holds it, where the browser allows a lock.
      var o = window.screen.orientation;
      if (o && o.lock) o.lock(o.type.indexOf('portrait') === 0 ? 'portrait' : 'landscape')
          .catch(function() {});
    }).catch(function() {});
  }

  function labelVibration() {
    vibrateButton.el.textContent = vibrate ? 'VIBRATE\nON' : 'VIBRATE\nOFF';
    vibrateButton.el.classList.toggle('off', !vibrate);
  }

  function switchVibration() {
    vibrate = !vibrate;
    try {
      localStorage.setItem(KEPT, vibrate ? 'on' : 'off');
    } catch (e) {
      // kept for this visit only
    }
    labelVibration();
    if (vibrate) feel(40);
  }

  // A shake of the phone for the game (bf_feel): while the switch is on, where phones shake.
  function feel(ms) {
    if (vibrate && touch.shown) navigator.vibrate(ms);
  }

  ['touchstart', 'touchmove', 'touchend', 'touchcancel'].forEach(function(type) {
    document.addEventListener(type, onTouch, {passive: false});
  });
  window.addEventListener('resize', fit);
  document.addEventListener('fullscreenchange', fit);
  // A phone or tablet gets the controls from the start; a computer with a touch screen too, and
  // any other at its first touch.
  if (navigator.maxTouchPoints > 0 || window.matchMedia('(any-pointer: coarse)').matches) show();
})();
