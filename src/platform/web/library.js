// The page's side of the browser backend (CWebBackend): the canvas, Web Audio, and the settings
// folder kept in the browser's storage. Linked into the page's script with --js-library.

mergeInto(LibraryManager.library, {
  $BoltFever: {
    canvas: null,      // the page's 320 x 240 canvas, scaled up by the page
    context: null,     // its 2D context
    image: null,       // the canvas's pixels as drawn
    pixels: null,      // the same, a word a pixel
    colours: null,     // RGB565 to the canvas's pixel words
    picture: 0,        // the latest picture shown, in the game's memory
    drawAsked: false,  // a draw at the next paint is pending
    audio: null,     // the AudioContext, suspended until the player presses something
    started: false,  // the player has pressed something: the sound may play
    held: false,     // the tab is hidden: the sound holds
    queueEnd: 0,     // audio-clock time at which the queued sound runs out
    storageWarned: false,
    alarm: null,       // the MessageChannel that starts the timers of short sleeps
    wake: null,        // wakes the game
    wakeUp: null,      // what wakes it, while it sleeps
    shortMs: 0,        // the short sleep whose timer the next message starts
    cost: {drawMs: 0, soundMs: 0},  // time spent drawing and queueing sound, for the page's test
  },
  $BoltFever__postset: "Module['cost'] = BoltFever.cost;",

  // --- the settings folder
  bf_storage_open__deps: ['$BoltFever', '$IDBFS'],
  bf_storage_open: function(folder) {
    return Asyncify.handleAsync(function() {
      return new Promise(function(resolve) {
        var path = UTF8ToString(folder);
        try {
          FS.mkdirTree(path);
          FS.mount(IDBFS, {}, path);
        } catch (e) {
          err('boltfever: the browser keeps no settings: ' + e);
          resolve(0);
          return;
        }
        FS.syncfs(true, function(error) {
          if (error) err('boltfever: the browser keeps no settings: ' + error);
          resolve(error ? 0 : 1);
        });
      });
    });
  },

  bf_storage_sync__deps: ['$BoltFever', '$IDBFS'],
  bf_storage_sync: function() {
    return Asyncify.handleAsync(function() {
      return new Promise(function(resolve) {
        FS.syncfs(false, function(error) {
          if (error && !BoltFever.storageWarned) {
            BoltFever.storageWarned = true;
            err('boltfever: the settings could not be kept in the browser: ' + error);
          }
          resolve(error ? 0 : 1);
        });
      });
    });
  },

  // --- sleeping: the game's waits hand the tab back until a timer wakes the game. A timer set
  // from a timer's callback, once such timers nest deep, waits at least 4 ms however short it
  // was asked to be; and the game's sleeps follow one another. A picture's sleep is longer than
  // that and has its timer wake the game itself; a shorter one first goes round a message, from
  // which its timer starts afresh and keeps to the millisecond.
  bf_sleep__deps: ['$BoltFever'],
  bf_sleep: function(ms) {
    return Asyncify.handleSleep(function(wakeUp) {
      var page = BoltFever;
      if (!page.alarm) {
        page.wake = function() {
          var wake = page.wakeUp;
          page.wakeUp = null;
          if (wake) wake();
        };
        page.alarm = new MessageChannel();
        page.alarm.port1.onmessage = function() {
          var short = page.shortMs;
          page.shortMs = 0;
          if (short > 0) setTimeout(page.wake, short);
          else page.wake();
        };
      }
      page.wakeUp = wakeUp;
      if (ms >= 4) {
        setTimeout(page.wake, ms);
      } else {
        page.shortMs = ms;
        page.alarm.port2.postMessage(0);
      }
    });
  },

  // --- the picture: the latest one shown is drawn when the browser next paints, so that no
  // picture costs more than it is seen (the display may show fewer than the game's 76.9 a second)
  bf_show__deps: ['$BoltFever'],
  bf_show: function(picture) {
    var page = BoltFever;
    page.picture = picture;
    if (page.drawAsked) return;
    page.drawAsked = true;
    requestAnimationFrame(function() {
      var began = performance.now();
      page.drawAsked = false;
      if (!page.context) {
        if (Module['onFirstPicture']) Module['onFirstPicture']();
        page.canvas = Module['canvas'];
        page.context = page.canvas.getContext('2d', {alpha: false});
        page.image = page.context.createImageData(320, 240);
        page.pixels = new Uint32Array(page.image.data.buffer);
        // Every RGB565 colour as the canvas's RGBA bytes read as one little-endian word, the
        // top bits repeated in the low ones so that white stays white.
        page.colours = new Uint32Array(65536);
        for (var c = 0; c < 65536; c++) {
          var r = c >> 11, g = (c >> 5) & 63, b = c & 31;
          page.colours[c] = 0xFF000000 | ((b << 3 | b >> 2) << 16) | ((g << 2 | g >> 4) << 8) |
                            (r << 3 | r >> 2);
        }
      }
      var from = page.picture >> 1, pixels = page.pixels, colours = page.colours;
      for (var i = 0; i < 76800; i++) pixels[i] = colours[HEAPU16[from + i]];
      page.context.putImageData(page.image, 0, 0);
      page.cost.drawMs += performance.now() - began;
    });
  },

  bf_toggle_fullscreen__deps: ['$BoltFever'],
  bf_toggle_fullscreen: function() {
    if (document.fullscreenElement) {
      document.exitFullscreen();
      return;
    }
    var canvas = BoltFever.canvas || Module['canvas'];
    var whole = document.getElementById('screen') || canvas;
    if (whole && whole.requestFullscreen) whole.requestFullscreen().catch(function() {});
  },

  // --- the sound: 22,050 Hz stereo slices, each played as a buffer queued right after the last
  bf_audio_open__deps: ['$BoltFever'],
  bf_audio_open: function() {
    var Context = window.AudioContext || window.webkitAudioContext;
    if (!Context) return 0;
    try {
      BoltFever.audio = new Context({sampleRate: 22050, latencyHint: 'interactive'});
    } catch (e) {
      try {
        BoltFever.audio = new Context();  // resamples our 22,050 Hz buffers itself
      } catch (e2) {
        return 0;
      }
    }
    BoltFever.queueEnd = 0;
    return 1;
  },

  bf_audio_start__deps: ['$BoltFever'],
  bf_audio_start: function() {
    BoltFever.started = true;
    var audio = BoltFever.audio;
    if (audio && audio.state === 'suspended' && !BoltFever.held) {
      audio.resume().catch(function() {});  // refused without the player's gesture: next time
    }
  },

  bf_audio_hold__deps: ['$BoltFever'],
  bf_audio_hold: function(held) {
    BoltFever.held = !!held;
    var audio = BoltFever.audio;
    if (!audio || !BoltFever.started) return;
    (held ? audio.suspend() : audio.resume()).catch(function() {});
  },

  bf_audio_write__deps: ['$BoltFever', '$bfQueueSound'],
  bf_audio_write: function(data, bytes, capFrames) {
    var began = performance.now();
    var taken = bfQueueSound(data, bytes, capFrames);
    BoltFever.cost.soundMs += performance.now() - began;
    return taken;
  },

  $bfQueueSound__deps: ['$BoltFever'],
  $bfQueueSound: function(data, bytes, capFrames) {
    var audio = BoltFever.audio;
    // Until the sound runs, what the game plays is let go of, so that the first sound heard
    // is the one of that moment rather than a stale queue: taken, but told apart by its sign.
    if (!audio || audio.state !== 'running') return -bytes;
    var now = audio.currentTime;
    var rate = 22050;
    // Run dry: start again a little ahead of the clock.
    if (BoltFever.queueEnd < now) BoltFever.queueEnd = now + 0.01;
    var queued = Math.round((BoltFever.queueEnd - now) * rate);
    var frames = Math.min(capFrames - queued, bytes >> 2);
    if (frames <= 0) return 0;
    var buffer = audio.createBuffer(2, frames, rate);
    var left = buffer.getChannelData(0);
    var right = buffer.getChannelData(1);
    var at = data >> 1;
    for (var i = 0; i < frames; i++, at += 2) {
      left[i] = HEAP16[at] / 32768;
      right[i] = HEAP16[at + 1] / 32768;
    }
    var source = audio.createBufferSource();
    source.buffer = buffer;
    source.connect(audio.destination);
    source.start(BoltFever.queueEnd);
    BoltFever.queueEnd += frames / rate;
    return frames * 4;
  },

  // --- the touch controls (touch.js): the stick's position from -1 to 1 into stick[0] and
  // stick[1], the buttons held (or tapped since the last read) by their numbers in the standard
  // controller layout; and into finger[0..2] whether a finger is down on the picture's items (a
  // tap quicker than a poll counts once), and the picture's pixel under it
  bf_touch_read: function(stick, finger) {
    var touch = window['boltfeverTouch'], held = touch ? touch['state'] : null;
    HEAPF32[stick >> 2] = held ? held['x'] : 0;
    HEAPF32[(stick >> 2) + 1] = held ? held['y'] : 0;
    if (!held) return 0;
    var pointing = held['finger'], down = pointing['down'] || pointing['tapped'], at = finger >> 2;
    pointing['tapped'] = false;
    HEAP32[at] = down ? 1 : 0;
    HEAP32[at + 1] = pointing['x'];
    HEAP32[at + 2] = pointing['y'];
    var buttons = held['buttons'] | held['pressed'];
    held['pressed'] = 0;
    return buttons;
  },

  // a shake of the phone, where the player has it on (touch.js)
  bf_feel: function(ms) {
    var touch = window['boltfeverTouch'];
    if (touch) touch['feel'](ms);
  },

  // whether touch is the device's main way in (a phone or tablet, not a laptop's screen)
  bf_touch_first: function() {
    return window.matchMedia('(pointer: coarse)').matches ? 1 : 0;
  },

  // --- the world table, asked with fetch: what it answered, and its body in the game's memory.
  // A replay sent while the browser is offline is kept in localStorage and sent once the
  // browser is online again (at once, or the next time the page opens).
  $BoltFeverWorld: {
    outbox: 'boltfever-world-outbox',
    sending: false,
    // fetch, given up after 12 s (the server plays a sent replay before it answers)
    ask: function(address, request) {
      var stop = new AbortController();
      var timer = setTimeout(function() { stop.abort(); }, 12000);
      request['signal'] = stop.signal;
      return fetch(address, request).finally(function() { clearTimeout(timer); });
    },
    post: function(base, initials, bytes) {
      return BoltFeverWorld.ask(base + '/api/scores?initials=' + encodeURIComponent(initials), {
        'method': 'POST', 'headers': {'Content-Type': 'application/octet-stream'}, 'body': bytes});
    },
    kept: function() {
      try {
        var list = JSON.parse(localStorage.getItem(BoltFeverWorld.outbox) || '[]');
        return Array.isArray(list) ? list : [];
      } catch (e) {
        return [];
      }
    },
    keep: function(list) {
      try {
        if (list.length) localStorage.setItem(BoltFeverWorld.outbox, JSON.stringify(list));
        else localStorage.removeItem(BoltFeverWorld.outbox);
        return true;
      } catch (e) {
        return false;  // no storage, or no room in it
      }
    },
    keepToSend: function(base, initials, bytes) {
      var text = '';
      for (var i = 0; i < bytes.length; i += 0x8000)
        text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
      var list = BoltFeverWorld.kept();
      list.push({'url': base, 'initials': initials, 'replay': btoa(text)});
      return BoltFeverWorld.keep(list);
    },
    // Sends what was kept, one at a time; one the server answered (kept or refused) goes, one
    // it did not (or that it asked to be sent later) stays.
    sendKept: function() {
      if (BoltFeverWorld.sending || !BoltFeverWorld.kept().length) return;
      BoltFeverWorld.sending = true;
      var next = function() {
        var list = BoltFeverWorld.kept(), at = list.findIndex(function(e) { return !e['tried']; });
        if (at < 0) {
          BoltFeverWorld.keep(list.map(function(e) { delete e['tried']; return e; }));
          BoltFeverWorld.sending = false;
          return;
        }
        var entry = list[at];
        entry['tried'] = true;
        BoltFeverWorld.keep(list);
        var bytes = Uint8Array.from(atob(entry['replay']), function(c) { return c.charCodeAt(0); });
        BoltFeverWorld.post(entry['url'], entry['initials'], bytes).then(function(answer) {
          out('boltfever: a replay kept while offline was sent: HTTP ' + answer.status);
          if (answer.status != 429 && answer.status < 500)
            BoltFeverWorld.keep(BoltFeverWorld.kept().filter(function(e) {
              return e['replay'] !== entry['replay'];
            }));
        }, function() {}).then(next);
      };
      next();
    },
  },
  $BoltFeverWorld__postset:
      "addEventListener('online', BoltFeverWorld.sendKept); BoltFeverWorld.sendKept();",

  bf_world_ask__deps: ['$BoltFeverWorld', 'malloc'],
  bf_world_ask: function(url, what, id, replay, replaySize, initials, most, body, bodySize) {
    return Asyncify.handleAsync(function() {
      var base = UTF8ToString(url), sent = null, asked;
      if (what == 3) {
        sent = HEAPU8.slice(replay, replay + replaySize);
        asked = BoltFeverWorld.post(base, UTF8ToString(initials), sent);
      } else {
        asked = BoltFeverWorld.ask(base + (what == 1 ? '/api/scores' : '/api/scores/' + id + '/replay'), {});
      }
      var status = 0;
      return asked.then(function(answer) {
        status = answer.status;
        return answer.arrayBuffer();
      }).then(function(buffer) {
        if (buffer.byteLength <= most) return new Uint8Array(buffer);
        status = 0;
        return 'an answer larger than a world table gives';
      }, function(error) {
        status = 0;
        if (sent && BoltFeverWorld.keepToSend(base, UTF8ToString(initials), sent)) status = -1;
        return String(error && error.message || error);
      }).then(function(bytes) {
        if (typeof bytes === 'string') bytes = new TextEncoder().encode(bytes);
        var at = _malloc(bytes.length + 1);
        HEAPU8.set(bytes, at);
        HEAP32[body >> 2] = at;
        HEAP32[bodySize >> 2] = bytes.length;
        return status;
      });
    });
  },

  // --- the end: the page says goodbye (the tab outlives the game)
  bf_ended: function(status) {
    if (Module['onGameEnded']) Module['onGameEnded'](status);
  },

  bf_audio_close__deps: ['$BoltFever'],
  bf_audio_close: function() {
    if (BoltFever.audio) BoltFever.audio.close();
    BoltFever.audio = null;
  },
});
