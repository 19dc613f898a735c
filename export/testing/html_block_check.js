// Loaded into an exported HTML page by the browser checks: once the page has loaded, every
// positioned block must sit where its style puts it, every picture must have loaded, and every
// caption (a text ending in ":") must end before the value beside it on its line begins. The
// verdict lands on the body as the attribute data-check, for --dump-dom to show; the captions'
// gaps, in pixels, as data-gaps ("<count> captions, least gap <px> after <caption>" and each gap).
window.addEventListener("load", () => {
  const bad = [];
  const blocks = document.querySelectorAll("body > div");
  for (const block of blocks) {
    const r = block.getBoundingClientRect();
    const left = parseFloat(block.style.left), top = parseFloat(block.style.top);
    if (Math.abs(r.left + window.scrollX - left) > 0.5 || Math.abs(r.top + window.scrollY - top) > 0.5)
      bad.push("block at " + left + "," + top + " shown at " + r.left + "," + r.top);
  }
  for (const image of document.images)
    if (!image.complete || image.naturalWidth <= 0) bad.push("picture not loaded: " + image.getAttribute("src"));

  // A caption's value is the nearest text block to its right on its line (the same top), when it
  // begins within FARTHEST pixels of the caption's end (a caption whose value is empty has the
  // next column's caption there). The caption's end is where its letters end, its value's start
  // where the value's block begins.
  const FARTHEST = 40;
  const texts = [...blocks].filter((b) => b.children.length === 0 && b.textContent.trim() !== "");
  const words = (block) => block.textContent.replace(/\u00a0/g, " ").trim();
  const textEnd = (block) => {
    const range = document.createRange();
    range.selectNodeContents(block);
    return range.getBoundingClientRect().right;
  };
  const gaps = [];
  for (const caption of texts) {
    const label = words(caption);
    if (!label.endsWith(":")) continue;
    const top = parseFloat(caption.style.top), left = parseFloat(caption.style.left);
    let value = null;
    for (const other of texts) {
      const otherLeft = parseFloat(other.style.left);
      if (other === caption || Math.abs(parseFloat(other.style.top) - top) > 1 || otherLeft <= left) continue;
      if (value === null || otherLeft < parseFloat(value.style.left)) value = other;
    }
    if (value === null) continue;
    const gap = value.getBoundingClientRect().left - textEnd(caption);
    if (gap > FARTHEST) continue;
    gaps.push({ caption: label, gap: gap });
    if (gap <= 0) bad.push("caption \"" + label + "\" runs " + (-gap).toFixed(1) + " px into \"" + words(value) + "\"");
  }
  gaps.sort((a, b) => a.gap - b.gap);
  if (gaps.length)
    document.body.setAttribute("data-gaps", gaps.length + " captions, least gap " + gaps[0].gap.toFixed(1) + " px after " +
      gaps[0].caption + ": " + gaps.map((g) => g.caption + " " + g.gap.toFixed(1)).join(", "));
  document.body.setAttribute("data-check",
    bad.length ? "BAD " + bad.join("; ") : "OK " + blocks.length + " blocks " + document.images.length + " pictures");
});
