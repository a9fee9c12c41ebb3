// SPDX-License-Identifier: GPL-3.0-or-later
// The page's view: shows what the bind script hands it and turns the menu's keys into clicks.
// It holds no rule of the calculation or of the fields.
var View = (function () {
  "use strict";

  const byId = (id) => document.getElementById(id);
  const grid = byId("Grid1");
  const cells = Array.from(grid.rows, (row) => Array.from(row.cells));
  let current = null;

  // One dialog at a time: a second message waits until the first is closed.
  let dialogQueue = Promise.resolve();

  function showDialog(id, text) {
    const shown = dialogQueue.then(
      () =>
        new Promise((resolve) => {
          const dialog = byId(id);
          const returnFocus = document.activeElement;
          closeMenus(false);
          // A carriage return starts a new line, as a line feed does.
          dialog.querySelector(".text").textContent = String(text).replace(/\r\n?/g, "\n");
          dialog.addEventListener(
            "close",
            () => {
              if (returnFocus && returnFocus.isConnected && returnFocus !== document.body) {
                returnFocus.focus();
              }
              resolve();
            },
            { once: true }
          );
          dialog.showModal();
          dialog.querySelector(".ok").focus();
        })
    );
    dialogQueue = shown;
    return shown;
  }

  function dialogOpen() {
    return document.querySelector("dialog[open]") !== null;
  }

  // The menu: Alt with a mnemonic or F10 opens it, the arrows walk it, Escape leaves it.
  const entries = Array.from(document.querySelectorAll("#MainMenu1 .entry > button"));
  let menuReturnFocus = null;

  function menuOf(entry) {
    const id = entry.getAttribute("aria-controls");
    return id ? byId(id) : null;
  }

  function itemsOf(menu) {
    return Array.from(menu.querySelectorAll("button[role=menuitem]"));
  }

  function openEntry() {
    return entries.find((entry) => entry.getAttribute("aria-expanded") === "true") || null;
  }

  function closeMenus(restoreFocus) {
    for (const entry of entries) {
      const menu = menuOf(entry);
      if (menu) {
        menu.hidden = true;
        entry.setAttribute("aria-expanded", "false");
      }
    }
    if (restoreFocus && menuReturnFocus && menuReturnFocus.isConnected) {
      menuReturnFocus.focus();
    }
    if (restoreFocus) {
      menuReturnFocus = null;
    }
  }

  function rememberFocus() {
    const active = document.activeElement;
    if (!active || !active.closest("#MainMenu1")) {
      menuReturnFocus = active;
    }
  }

  function openMenu(entry, focusFirst) {
    rememberFocus();
    closeMenus(false);
    const menu = menuOf(entry);
    if (!menu) {
      entry.focus();
      return;
    }
    menu.hidden = false;
    entry.setAttribute("aria-expanded", "true");
    if (focusFirst) {
      itemsOf(menu)[0].focus();
    } else {
      entry.focus();
    }
  }

  // An item's own click goes to the bind script; the menu closes first and gives the focus back.
  function chooseItem(item) {
    closeMenus(true);
    item.click();
  }

  for (const entry of entries) {
    entry.addEventListener("mousedown", (event) => {
      event.preventDefault();
      if (entry.getAttribute("aria-expanded") === "true") {
        closeMenus(true);
      } else {
        openMenu(entry, false);
      }
    });
    entry.addEventListener("mouseenter", () => {
      const open = openEntry();
      if (open && open !== entry) {
        openMenu(entry, false);
      }
    });
    const menu = menuOf(entry);
    if (!menu) {
      continue;
    }
    for (const item of itemsOf(menu)) {
      item.addEventListener("mousedown", (event) => event.preventDefault());
      item.addEventListener("click", () => closeMenus(true), { capture: true });
    }
  }

  document.addEventListener("mousedown", (event) => {
    if (openEntry() && !event.target.closest("#MainMenu1")) {
      closeMenus(false);
    }
  });

  function moveAcross(step) {
    const from = document.activeElement.closest(".entry").querySelector(":scope > button");
    const next = entries[(entries.indexOf(from) + step + entries.length) % entries.length];
    const wasOpen = openEntry() !== null;
    if (wasOpen) {
      openMenu(next, true);
    } else {
      next.focus();
    }
  }

  function menuKey(event) {
    const active = document.activeElement;
    const open = openEntry();
    const menu = open ? menuOf(open) : null;
    const items = menu ? itemsOf(menu) : [];
    const index = items.indexOf(active);
    switch (event.key) {
      case "Escape":
        if (open) {
          closeMenus(false);
          open.focus();
        } else {
          closeMenus(true);
        }
        return true;
      case "ArrowLeft":
        moveAcross(-1);
        return true;
      case "ArrowRight":
        moveAcross(1);
        return true;
      case "ArrowDown":
      case "ArrowUp": {
        if (!menu) {
          if (entries.includes(active)) {
            openMenu(active, true);
          }
          return true;
        }
        const step = event.key === "ArrowDown" ? 1 : -1;
        items[(index + step + items.length) % items.length].focus();
        return true;
      }
      case "Enter":
      case " ":
        if (index >= 0) {
          chooseItem(items[index]);
        } else if (entries.includes(active)) {
          openMenu(active, true);
        }
        return true;
      case "Tab":
        closeMenus(true);
        return true;
      default: {
        const letter = event.key.length === 1 ? event.key.toLowerCase() : "";
        if (!letter) {
          return false;
        }
        if (menu) {
          const item = items.find((candidate) => candidate.dataset.mnemonic === letter);
          if (item) {
            chooseItem(item);
          }
        } else {
          const entry = entries.find((candidate) => candidate.dataset.mnemonic === letter);
          if (entry) {
            openMenu(entry, true);
          }
        }
        return true;
      }
    }
  }

  // The shortcuts work while the window is active, whichever control has the focus.
  const shortcuts = { s: "Speichern1", l: "Laden1" };

  document.addEventListener(
    "keydown",
    (event) => {
      if (dialogOpen()) {
        return;
      }
      const key = event.key.length === 1 ? event.key.toLowerCase() : event.key;
      let handled = false;
      if (event.ctrlKey && !event.altKey && !event.shiftKey && !event.metaKey && shortcuts[key]) {
        closeMenus(true);
        byId(shortcuts[key]).click();
        handled = true;
      } else if (event.altKey && !event.ctrlKey && !event.metaKey) {
        const entry = entries.find((candidate) => candidate.dataset.mnemonic === key);
        if (entry) {
          openMenu(entry, true);
          handled = true;
        }
      } else if (key === "F10" && !event.ctrlKey && !event.altKey) {
        if (openEntry() || entries.includes(document.activeElement)) {
          closeMenus(true);
        } else {
          rememberFocus();
          entries[0].focus();
        }
        handled = true;
      } else if (document.activeElement && document.activeElement.closest("#MainMenu1")) {
        handled = menuKey(event);
      }
      if (handled) {
        event.preventDefault();
        event.stopPropagation();
      }
    },
    { capture: true }
  );

  let audio = null;

  return {
    showMessage(text) {
      return showDialog("MessageDialog", text);
    },
    showFailureReport(text) {
      return showDialog("FailureReport", text);
    },
    setCell(column, row, text) {
      cells[row][column].textContent = text;
    },
    setCurrentCell(column, row) {
      if (current) {
        current.classList.remove("current");
        current.removeAttribute("aria-selected");
      }
      current = cells[row][column];
      current.classList.add("current");
      current.setAttribute("aria-selected", "true");
    },
    setCaption(text) {
      document.title = text;
      byId("Caption").textContent = text;
    },
    offerDownload(fileName, bytes, mimeType) {
      const url = URL.createObjectURL(new Blob([bytes], { type: mimeType }));
      const link = document.createElement("a");
      link.href = url;
      link.download = fileName;
      link.hidden = true;
      document.body.appendChild(link);
      link.click();
      link.remove();
      // The download has taken the bytes once the click's navigation has started.
      setTimeout(() => URL.revokeObjectURL(url), 60000);
    },
    setFieldText(id, text, selectionStart, selectionEnd) {
      const field = byId(id);
      field.value = text;
      if (selectionStart !== undefined && selectionStart !== null) {
        const end = selectionEnd === undefined || selectionEnd === null ? selectionStart : selectionEnd;
        field.setSelectionRange(selectionStart, end);
      }
    },
    beep() {
      try {
        audio = audio || new AudioContext();
        const tone = audio.createOscillator();
        const gain = audio.createGain();
        tone.frequency.value = 880;
        gain.gain.value = 0.05;
        tone.connect(gain).connect(audio.destination);
        tone.start();
        tone.stop(audio.currentTime + 0.08);
      } catch (ignored) {
        // A browser without sound refuses the key silently.
      }
    },
    setWerkbankOutput(id, text) {
      byId(id).textContent = text;
    },
    // The sheet into its frame and, once it stands there, printed from it.
    printSheet(html) {
      const frame = byId("WerkbankSheetFrame");
      if (frame.srcdoc === html && frame.contentDocument.readyState === "complete") {
        frame.contentWindow.print();
        return;
      }
      frame.addEventListener("load", () => frame.contentWindow.print(), { once: true });
      frame.srcdoc = html;
    },
  };
})();
