// The page on touch screens and on views too small for the 600 x 600 field:
// the field is the largest square that fits, drawn at the device's
// resolution, and the game plays by touch alone, with the controls "Blue",
// "Red" and "Escape" and the phone's keyboard for the name. A desktop browser
// with a mouse, where the field fits, keeps the page as it always was.
(() => {
  'use strict';
  const FieldSize = 600; // the game's field, CSS pixels on the desktop page
  const DesktopMargin = 24; // above and below the field on the desktop page
  const Prompt = 'Please enter your name:';
  const PlayText = 'Level: '; // the status line shows it during play only
  const Keys = { backspace: 8, enter: 13, shift: 16, escape: 27 };
  const Buttons = { blue: 0, red: 2 }; // the mouse buttons that fire each colour
  const Typeable = /^[A-Za-z0-9 ]$/; // what the name entry takes from a keyboard
  const Marks = /\p{M}/gu; // accents and the like, apart from their letters once decomposed
  // A size times the pixel ratio may land a hair below its whole number of pixels.
  const PixelSlack = 1e-6;

  const root = document.documentElement;
  const canvas = document.getElementById('canvas');
  const room = document.getElementById('room');
  const naming = document.getElementById('naming');
  const nameField = document.getElementById('name');
  const colorButtons = { blue: document.getElementById('blue'), red: document.getElementById('red') };
  const touchScreen = matchMedia('(any-pointer: coarse)');

  let bufferSize = FieldSize;
  let inPlay = false;
  let nameShows = false;
  let latched = 'blue';
  const held = []; // colour controls pressed now, latest last: {color, pointerId, fired}
  let typed = ''; // the name as the name field has typed it into the game
  let composing = false; // the phone's keyboard is composing text in the name field

  function queue(event) {
    if (Module.queueInput) Module.queueInput(event);
  }
  function pressKey(keyCode) {
    queue({ type: 'keydown', keyCode });
    queue({ type: 'keyup', keyCode });
  }
  function clickAt(button, event) {
    queue({ type: 'mousedown', button, pageX: event.pageX, pageY: event.pageY });
    queue({ type: 'mouseup', button, pageX: event.pageX, pageY: event.pageY });
  }

  // The drawing buffer is the shown size in device pixels: a whole number of
  // them, so that the browser shows the game's pixels without blending them.
  function layout() {
    const touch = touchScreen.matches;
    const fits = !touch && innerWidth >= FieldSize && innerHeight >= FieldSize + 2 * DesktopMargin;
    root.classList.toggle('touch', touch);
    root.classList.toggle('fitted', !fits);
    if (fits) {
      bufferSize = Math.round(FieldSize * devicePixelRatio);
    } else {
      const space = room.getBoundingClientRect();
      bufferSize = Math.floor(Math.min(space.width, space.height) * devicePixelRatio + PixelSlack);
      root.style.setProperty('--field', `${bufferSize / devicePixelRatio}px`);
    }
    fitBuffer();
  }
  // The game's video mode sets the buffer to 600 x 600 when it starts.
  function fitBuffer() {
    if (canvas.width !== bufferSize || canvas.height !== bufferSize) {
      canvas.width = bufferSize;
      canvas.height = bufferSize;
    }
  }
  addEventListener('resize', layout);
  touchScreen.addEventListener('change', layout);
  layout();

  // A tap on a colour latches it; a colour held while the other thumb fires
  // is for those shots only, and the latched one comes back on release.
  function selectedColor() {
    return held.length ? held[held.length - 1].color : latched;
  }
  function showColor() {
    for (const [color, button] of Object.entries(colorButtons)) {
      button.setAttribute('aria-pressed', String(color === selectedColor()));
    }
  }
  for (const [color, button] of Object.entries(colorButtons)) {
    button.addEventListener('pointerdown', (event) => {
      event.preventDefault(); // the name field keeps the focus
      button.setPointerCapture(event.pointerId);
      held.push({ color, pointerId: event.pointerId, fired: false });
      showColor();
    });
    const release = (event) => {
      const index = held.findIndex((press) => press.pointerId === event.pointerId);
      if (index < 0) return;
      const [press] = held.splice(index, 1);
      if (event.type === 'pointerup' && !press.fired) latched = color;
      showColor();
    };
    button.addEventListener('pointerup', release);
    button.addEventListener('pointercancel', release);
    // A keyboard or a screen reader presses without a pointer.
    button.addEventListener('click', (event) => {
      if (event.detail === 0) {
        latched = color;
        showColor();
      }
    });
  }
  document.getElementById('escape').addEventListener('click', () => pressKey(Keys.escape));
  document.getElementById('controls').addEventListener('contextmenu', (event) => event.preventDefault());

  // A touch on the field reaches the game from here alone: SDL would make a
  // click of the touch itself, and the browser another one after the tap.
  for (const type of ['touchstart', 'touchmove', 'touchend']) {
    addEventListener(type, (event) => {
      if (event.target === canvas) event.stopPropagation();
    }, { capture: true });
  }
  canvas.addEventListener('pointerdown', (event) => {
    if (event.pointerType === 'mouse') return; // it reaches SDL as on the desktop
    event.preventDefault();
    // The menus answer the left button only.
    const color = inPlay ? selectedColor() : 'blue';
    if (inPlay) held.forEach((press) => { press.fired = true; });
    clickAt(Buttons[color], event);
    if (nameShows) nameField.focus();
  });

  // The phone's keyboard sends text without key codes: the field turns what
  // changed in it into the key presses a keyboard would give for it.
  function typeCharacter(character) {
    const capital = character !== character.toLowerCase();
    if (capital) queue({ type: 'keydown', keyCode: Keys.shift });
    pressKey(character.toUpperCase().charCodeAt(0));
    if (capital) queue({ type: 'keyup', keyCode: Keys.shift });
  }
  // A letter the font lacks becomes its plain letter where it has one (é
  // gives e, ü gives u); anything else the game cannot draw is dropped.
  const fold = (text) => text.normalize('NFD').replace(Marks, '');
  function typeChanges() {
    const now = nameField.value;
    let same = 0;
    while (same < typed.length && typed[same] === now[same]) same++;
    for (let i = same; i < typed.length; i++) pressKey(Keys.backspace);
    typed = typed.slice(0, same);
    for (const character of fold(now.slice(same))) {
      if (!Typeable.test(character)) continue;
      typeCharacter(character);
      typed += character;
    }
    if (nameField.value !== typed) nameField.value = typed;
  }
  // A keyboard that composes (accents, predictions, other scripts) owns the
  // field's text until it commits it: a change made meanwhile ends the
  // composition for the page, and the commit then arrives as new text.
  nameField.addEventListener('compositionstart', () => { composing = true; });
  nameField.addEventListener('compositionend', () => {
    composing = false;
    typeChanges();
  });
  nameField.addEventListener('input', (event) => {
    if (!composing && !event.isComposing) typeChanges();
  });
  for (const type of ['keydown', 'keypress', 'keyup']) {
    nameField.addEventListener(type, (event) => {
      event.stopPropagation(); // its text arrives as input, typed once
      // An Enter that commits a composition is the keyboard's, not the player's.
      if (event.type === 'keydown' && event.key === 'Enter' && !event.isComposing) {
        event.preventDefault();
        pressKey(Keys.enter);
      }
    });
  }
  // A keyboard's Go or Done that sends no Enter key submits the field.
  naming.addEventListener('submit', (event) => {
    event.preventDefault();
    pressKey(Keys.enter);
  });

  // The name field is there for the phone's keyboard alone; the game draws the name.
  function showNameEntry(shows) {
    nameShows = shows;
    naming.hidden = !(shows && touchScreen.matches);
    typed = '';
    composing = false;
    nameField.value = '';
    if (naming.hidden) nameField.blur();
    else nameField.focus();
  }

  Module.frameListeners.push(() => {
    fitBuffer();
    const texts = Module.frameTexts || [];
    inPlay = texts.some((text) => text.startsWith(PlayText));
    if (texts.includes(Prompt) !== nameShows) showNameEntry(!nameShows);
  });
  Module.exitListeners.push(() => root.classList.add('ended'));
})();
