// Runtime of a published assistant page. The assistant arrives as JSON in the block
// #assistant-data; every text of it is put into the page as a text node, never as markup.
(function () {
  'use strict';
  var data = JSON.parse(document.getElementById('assistant-data').textContent);
  var screens = data.screens || [];
  var byId = Object.create(null);
  var main = document.getElementById('screen');
  var current = null;

  // Screen IDs compare with letters a-z folded to upper case, as in the desktop viewer.
  function fold(id) {
    return String(id).replace(/[a-z]/g, function (c) { return c.toUpperCase(); });
  }
  screens.forEach(function (s) { var k = fold(s.id); if (!(k in byId)) byId[k] = s; });

  function el(tag, text, cls) {
    var e = document.createElement(tag);
    if (text !== undefined && text !== null) e.textContent = text;
    if (cls) e.className = cls;
    return e;
  }
  function paragraphs(parent, lines) {
    (lines || []).forEach(function (line) { parent.appendChild(el('p', line)); });
  }
  function startScreen() {
    return byId[fold(data.first || '')] || screens[0] || null;
  }
  function fromHash() {
    var h = location.hash.slice(1);
    if (!h) return null;
    try { h = decodeURIComponent(h); } catch (e) { return null; }
    return byId[fold(h)] || null;
  }

  // Only these schemes leave the page; anything else (javascript:, data:, file:...) stays text.
  function safeAddress(text) {
    var t = String(text).trim();
    return /^(https?:\/\/|mailto:)/i.test(t) ? t : null;
  }
  // "Second.amf,Screen34" or "{$EXE}\Second.amf": the page of that assistant beside this one.
  function assistantPage(command) {
    var parts = String(command).split(',');
    var file = parts[0].trim().replace(/^\{\$[^}]*\}/, '');
    file = file.split(/[\\/]/).pop();
    if (!file) return null;
    var name = file.replace(/\.amf$/i, '');
    var href = encodeURIComponent(name + '.html');
    var start = (parts[1] || '').trim();
    if (start) href += '#' + encodeURIComponent(start);
    return href;
  }
  function desktopLine(option, parent) {
    parent.appendChild(el('p', 'This step runs on the desktop and does nothing in this page.', 'desktop'));
  }

  function renderOption(option, index) {
    var li = el('li', null, 'option');
    var label = option.caption || '(no caption)';
    var key = index < 9 ? String(index + 1) : null;
    var control;
    switch (option.kind) {
      case 'GOTO':
      case 'GOTOBUTTON': {
        control = el('button');
        control.type = 'button';
        var target = byId[fold(option.command)];
        if (target) {
          control.addEventListener('click', function () { go(target, true); });
        } else {
          control.disabled = true;
          li.appendChild(el('p', 'The screen "' + option.command + '" does not exist.', 'desktop'));
        }
        break;
      }
      case 'INTERNET': {
        var address = safeAddress(option.command);
        if (address) {
          control = el('a');
          control.href = address;
          control.target = '_blank';
          control.rel = 'noopener noreferrer';
        } else {
          control = el('button');
          control.type = 'button';
          control.disabled = true;
        }
        break;
      }
      case 'ASSISTANT': {
        var page = assistantPage(option.command);
        if (page) {
          control = el('a');
          control.href = page;
        } else {
          control = el('button');
          control.type = 'button';
          control.disabled = true;
        }
        break;
      }
      default:
        control = el('h2');
    }
    if (key && control.tagName !== 'H2') control.appendChild(el('span', key + '.', 'key'));
    control.appendChild(document.createTextNode(label));
    if (control.tagName === 'H2') li.appendChild(control);
    else { var h = el('h2'); h.appendChild(control); li.appendChild(h); }
    if (key && control.tagName !== 'H2') control.dataset.key = key;
    paragraphs(li, option.text);
    if (option.kind === 'INTERNET' && !safeAddress(option.command))
      li.appendChild(el('p', 'This address cannot be opened from this page: ' + option.command, 'desktop'));
    if (option.kind === 'RUN' || option.kind === 'EXEC' || option.kind === 'BROWSE') {
      li.appendChild(el('pre', option.command));
      desktopLine(option, li);
    } else if (option.kind === 'SCRIPT') {
      li.appendChild(el('pre', String(option.script || '').replace(/\r\n?/g, '\n')));
      desktopLine(option, li);
    }
    if (option.notes && option.notes.length) {
      var box = el('section', null, 'notes');
      box.setAttribute('aria-label', 'Notes');
      option.notes.forEach(function (n) {
        box.appendChild(el('h3', n.name || n.type || 'Note'));
        String(n.text || '').split(/\r\n|\r|\n/).forEach(function (line) { box.appendChild(el('p', line)); });
      });
      li.appendChild(box);
    }
    return li;
  }

  function render(screen) {
    current = screen;
    main.replaceChildren();
    if (!screen) {
      main.appendChild(el('h1', data.caption || 'Assistant'));
      main.appendChild(el('p', 'This assistant has no screens.', 'empty'));
      document.title = data.caption || 'Assistant';
      return;
    }
    main.appendChild(el('h1', screen.caption || screen.id));
    paragraphs(main, screen.text);
    if (screen.image) {
      var fig = el('figure');
      if (screen.image.data) {
        var img = el('img');
        img.src = screen.image.data;
        img.alt = screen.image.name;
        fig.appendChild(img);
      } else {
        fig.appendChild(el('p', 'Image: ' + screen.image.name, 'missing-image'));
      }
      main.appendChild(fig);
    }
    var list = el('ol', null, 'options');
    (screen.options || []).forEach(function (o, i) { list.appendChild(renderOption(o, i)); });
    if (list.childNodes.length) main.appendChild(list);
    document.title = (screen.caption || screen.id) + ' - ' + (data.caption || 'Assistant');
  }

  function go(screen, push) {
    if (push) history.pushState({ id: screen.id }, '', '#' + encodeURIComponent(screen.id));
    render(screen);
    main.focus();
  }

  window.addEventListener('popstate', function (e) {
    var s = (e.state && byId[fold(e.state.id)]) || fromHash() || startScreen();
    render(s);
  });
  document.getElementById('back').addEventListener('click', function () { history.back(); });
  document.getElementById('forward').addEventListener('click', function () { history.forward(); });
  document.getElementById('home').addEventListener('click', function () {
    var s = startScreen();
    if (s && s !== current) go(s, true);
  });
  // Number keys 1-9 choose the options of the screen, unless typing in a field.
  document.addEventListener('keydown', function (e) {
    if (e.ctrlKey || e.altKey || e.metaKey || !/^[1-9]$/.test(e.key)) return;
    var c = main.querySelector('[data-key="' + e.key + '"]');
    if (c && !c.disabled) { e.preventDefault(); c.click(); }
  });

  document.getElementById('assistant-caption').textContent = data.caption || '';
  var first = fromHash() || startScreen();
  // The address names the screen shown, also when it named none or one that does not exist.
  if (first) history.replaceState({ id: first.id }, '', '#' + encodeURIComponent(first.id));
  render(first);
})();
